#include "NUVSkeletonHost.h"

#include "NUVHostSession.h"
#include "NUVSkeletonBackend.h"

std::unique_ptr<NUVSkeletonHost> NUVSkeletonHost::Open(const std::string& /*target*/, std::string& message,
                                                       NUVHostTextMode textMode) {
  auto* session = new NUVHostSession(std::make_shared<NUVSkeletonBackend>(textMode));
  if (!session) {
    message = "no memory for a session";
    return nullptr;
  }
  return std::unique_ptr<NUVSkeletonHost>(new NUVSkeletonHost(session));
}
