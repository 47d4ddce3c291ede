#include "NUVSqliteHost.h"
#include "NUVSqliteHostPlugin.h"

namespace {

// The message, led by the path unless it names it already.
std::string WithPath(const std::string& path, const std::string& message) {
  return message.find(path) == std::string::npos ? path + ": " + message : message;
}

std::unique_ptr<NUVHost> OpenFile(const std::string& target, const NUVHostOpenOptions& options,
                                  std::string& message, NUVHostFailureKind& kind) {
  kind = NUVHostFailureKind::StatementFailed;  // a file that cannot be opened will not open later either
  NUVSqliteOpenOptions open;
  open.textMode = options.textMode;
  open.readOnly = options.readOnly;
  open.busyTimeoutMs = options.lockTimeoutMs;
  auto host = NUVSqliteHost::OpenFile(target, message, open);
  if (!host) message = WithPath(target, message);
  return host;
}

bool WriteSample(const std::string& target, const NUVHostOpenOptions& /*options*/, std::string& message) {
  if (NUVSqliteHost::WriteSample(target, message)) return true;
  message = WithPath(target, message);
  return false;
}

std::unique_ptr<NUVHost> OpenSample(std::string& message) { return NUVSqliteHost::OpenSample(message); }

}  // namespace

void NUVSqliteHostRegister() {
  NUVHostPlugin plugin = NUVSqliteHostDescription();
  plugin.open = OpenFile;
  plugin.writeSample = WriteSample;
  plugin.openSample = OpenSample;
  NUVHostRegistry::Register(plugin);
}
