#include "HostTarget.h"

#include "Failure.h"
#include "NUVHostRegistry.h"

namespace {

NUVHostOpenOptions OpenOptions(const Options& options) {
  NUVHostOpenOptions open;
  if (options.textMode == TextMode::Plain) open.textMode = NUVHostTextMode::Plain;
  if (options.textMode == TextMode::Encoded) open.textMode = NUVHostTextMode::Encoded;
  open.readOnly = options.readOnly;
  open.lockTimeoutMs = options.timeoutMs;
  // --timeout bounds connecting too; without it each host keeps its own.
  if (options.timeoutGiven) open.connectTimeoutMs = options.timeoutMs;
  open.failoverTimeoutMs = options.failoverTimeoutMs;
  open.readsOnStandby = options.readsOnStandby;
  return open;
}

// A usage error when the options ask for standbys of a host that has none.
void CheckStandbyOptions(const NUVHostPlugin& plugin, const Options& options) {
  if (plugin.reachesStandbys) return;
  const char* option = options.readsOnStandby      ? "--read-standby"
                       : options.failoverTimeoutMs ? "--failover-timeout"
                                                   : nullptr;
  if (option)
    throw Failure(kUsageError,
                  std::string(option) + ": the " + plugin.name + " host reaches no server with standbys");
}

// The built host that claims the target; a usage error when none does, or
// when it cannot take the options.
NUVHostPlugin HostFor(const std::string& target, const Options& options) {
  NUVRegisterHosts();
  const std::optional<NUVHostPlugin> plugin = NUVHostRegistry::ForTarget(target);
  if (!plugin) throw Failure(kUsageError, "no host of this build takes the database " + target);
  if (!plugin->Built()) throw Failure(kUsageError, "this build has no " + plugin->name + " host");
  CheckStandbyOptions(*plugin, options);
  return *plugin;
}

}  // namespace

std::unique_ptr<NUVHost> OpenHost(const Options& options) {
  std::string message;
  if (options.databasePath.empty()) {
    NUVRegisterHosts();
    const std::optional<NUVHostPlugin> plugin = NUVHostRegistry::WithSample();
    if (!plugin) throw Failure(kUsageError, "this build has no host with the built-in sample; give --db");
    CheckStandbyOptions(*plugin, options);
    auto host = plugin->openSample(message);
    if (!host) throw Failure(kDatabaseError, message);
    return host;
  }
  const NUVHostPlugin plugin = HostFor(options.databasePath, options);
  NUVHostFailureKind kind = NUVHostFailureKind::StatementFailed;
  auto host = plugin.open(options.databasePath, OpenOptions(options), message, kind);
  // The host's message names the target only where it holds no password;
  // a server that cannot be reached exits as one that may answer later.
  if (!host) throw Failure(ExitCodeFor(kind), message);
  return host;
}

void WriteSample(const Options& options) {
  const NUVHostPlugin plugin = HostFor(options.initPath, options);
  if (!plugin.writeSample) throw Failure(kUsageError, "the " + plugin.name + " host cannot write the sample");
  std::string message;
  if (!plugin.writeSample(options.initPath, OpenOptions(options), message))
    throw Failure(kDatabaseError, message);
}
