#include "NUVSkeletonHost.h"
#include "NUVSkeletonHostPlugin.h"

namespace {

std::unique_ptr<NUVHost> Open(const std::string& target, const NUVHostOpenOptions& options,
                              std::string& message, NUVHostFailureKind& kind) {
  // Map the options this database knows (read-only, lock and connect
  // timeouts) onto its client here, and say what kind a failure to open
  // is (a server that cannot be reached: Unreachable).
  kind = NUVHostFailureKind::StatementFailed;
  return NUVSkeletonHost::Open(target, message, options.textMode.value_or(NUVHostTextMode::Plain));
}

}  // namespace

void NUVSkeletonHostRegister() {
  NUVHostPlugin plugin = NUVSkeletonHostDescription();
  plugin.open = Open;
  NUVHostRegistry::Register(plugin);
}
