#pragma once
#include <memory>
#include <string>

#include "NUVHost.h"

// A host over a Skeleton database (see NUVHost for what every host does).
class NUVSkeletonHost : public NUVHost {
 public:
  // Opens the target; null, with the reason in message, when it cannot.
  static std::unique_ptr<NUVSkeletonHost> Open(const std::string& target, std::string& message,
                                               NUVHostTextMode textMode);

 private:
  // Adopts the caller's reference on the session.
  explicit NUVSkeletonHost(NUVHostSession* session) : NUVHost(session) {}
};
