#include <algorithm>
#include <cstdlib>

#include "NUVPostgresHost.h"
#include "NUVPostgresHostPlugin.h"

namespace {

constexpr int kDefaultConnectTimeoutMs = 10000;

// The connect timeout: the one given (at least 1 ms, the least libpq
// waits), else libpq's own when PGCONNECT_TIMEOUT is set, else 10 s. A
// connect_timeout in the connection string wins over either.
int ConnectTimeoutMs(const NUVHostOpenOptions& options) {
  if (options.connectTimeoutMs) return std::max(*options.connectTimeoutMs, 1);
  const char* environment = std::getenv("PGCONNECT_TIMEOUT");
  return environment && *environment ? 0 : kDefaultConnectTimeoutMs;
}

std::unique_ptr<NUVHost> Open(const std::string& target, const NUVHostOpenOptions& options,
                              std::string& message, NUVHostFailureKind& kind) {
  NUVPostgresOpenOptions open;
  open.textMode = options.textMode.value_or(NUVHostTextMode::Plain);
  open.readOnly = options.readOnly;
  // 0 fails at once on a held lock, as SQLite's busy timeout of 0 does; the
  // server's 0 would wait for ever.
  open.lockTimeoutMs = std::max(options.lockTimeoutMs, 1);
  open.connectTimeoutMs = ConnectTimeoutMs(options);
  open.readsOnStandby = options.readsOnStandby;
  if (options.failoverTimeoutMs) open.failoverTimeoutMs = std::max(*options.failoverTimeoutMs, 0);
  auto host = NUVPostgresHost::Open(target, message, open, &kind);
  if (!host) message = "server: " + message;
  return host;
}

bool WriteSample(const std::string& target, const NUVHostOpenOptions& options, std::string& message) {
  NUVPostgresOpenOptions open;
  open.connectTimeoutMs = ConnectTimeoutMs(options);
  if (NUVPostgresHost::WriteSample(target, message, open)) return true;
  message = "server: " + message;
  return false;
}

}  // namespace

void NUVPostgresHostRegister() {
  NUVHostPlugin plugin = NUVPostgresHostDescription();
  plugin.open = Open;
  plugin.writeSample = WriteSample;
  NUVHostRegistry::Register(plugin);
}
