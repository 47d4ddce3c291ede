#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "NUVHost.h"
#include "NUVHostFailure.h"

// How closely a host recognises a target.
enum class NUVHostClaim {
  None,        // not a target of this host
  AsFilePath,  // any text that could name a file: taken when no host claims it exactly
  Exactly,     // a form that is this host's own (a URI scheme, a connection string)
};

// How a host opens a target. A host takes what applies to it and leaves
// the rest alone.
struct NUVHostOpenOptions {
  // Unset: the host's own choice (the mark a file carries, or plain).
  std::optional<NUVHostTextMode> textMode;
  // Opens without write access: every writing statement is refused.
  bool readOnly = false;
  // How long a statement waits for a lock another connection holds, in
  // milliseconds; 0 fails at once.
  int lockTimeoutMs = 5000;
  // How long connecting may take, in milliseconds; unset: the host's own
  // default.
  std::optional<int> connectTimeoutMs;
  // How long reconnecting after a lost connection may take in all, in
  // milliseconds, for a host over a server that another may replace (a
  // standby promoted); unset: the host's own default; 0 for one try.
  std::optional<int> failoverTimeoutMs;
  // Reading statements go to a standby and writing ones to the primary,
  // for a host over a server with standbys; a host without them ignores it.
  bool readsOnStandby = false;
};

// One host as the registry knows it. A host this build lacks is known by
// its name and its claim only, so that a caller can say so.
struct NUVHostPlugin {
  // Opens the target; null, with the reason in message and what kind of
  // failure it is in kind (unreachable: a server that may answer later),
  // when it cannot.
  using Open = std::unique_ptr<NUVHost> (*)(const std::string& target, const NUVHostOpenOptions& options,
                                            std::string& message, NUVHostFailureKind& kind);
  // Writes the sample database to the target; false, with the reason and
  // nothing changed, when it cannot.
  using WriteSample = bool (*)(const std::string& target, const NUVHostOpenOptions& options,
                               std::string& message);
  // Opens the built-in sample database in memory; null, with the reason.
  using OpenSample = std::unique_ptr<NUVHost> (*)(std::string& message);

  std::string name;                                          // the database's name, as users know it
  NUVHostClaim (*claim)(std::string_view target) = nullptr;  // how it recognises a target
  Open open = nullptr;                                       // null when this build lacks the host
  WriteSample writeSample = nullptr;                         // null when the host cannot write the sample
  OpenSample openSample = nullptr;                           // null when the host has no sample in memory
  bool reachesStandbys = false;  // servers with standbys: it takes failoverTimeoutMs and readsOnStandby

  // True when this build holds the host.
  bool Built() const { return open != nullptr; }
};

// Every host of the process, in the order they were registered. Messages
// from a host's calls say why, and name the target only where it holds no
// secret. Registering is safe from any thread, but hosts are meant to be
// registered once, before the first is looked up.
class NUVHostRegistry {
 public:
  // Adds the host, or replaces the one of the same name (a built host
  // replaces the mere name and claim of one).
  static void Register(const NUVHostPlugin& plugin);
  // The host that claims the target exactly, else the first that takes it
  // as a file path; none when no host takes it.
  static std::optional<NUVHostPlugin> ForTarget(std::string_view target);
  // The first built host with a sample database in memory.
  static std::optional<NUVHostPlugin> WithSample();
  // The host of that name, whether built or not.
  static std::optional<NUVHostPlugin> Named(std::string_view name);
  // Every registered host.
  static std::vector<NUVHostPlugin> All();
};

// Registers every host this build knows, built or not; defined by the
// NUVHostPlugins library that the build generates from its host options.
// Calling it more than once changes nothing.
void NUVRegisterHosts();
