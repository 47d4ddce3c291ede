#pragma once
#include <string>
#include <utility>
#include <vector>

#include "NUVHostFailure.h"
#include "NUVPostgresOpenOptions.h"

struct pg_conn;

// How the host reaches its server: the connection's parameters (those of
// a connection string, or of a connection made before), the settings every
// session gets, and the bounds on trying. A host that writes and names
// several servers asks for the one that takes writes
// (target_session_attrs=read-write) unless the string names what it wants.
class NUVPgConnector {
 public:
  explicit NUVPgConnector(const NUVPostgresOpenOptions& options) : options_(options) {}

  // Takes the parameters of a libpq connection string or URI; false, with
  // libpq's reason (never the password), when it cannot read it.
  bool Read(const std::string& conninfo, std::string& message);
  // Takes the parameters a connection was made with, password included.
  void Take(pg_conn* connection);
  // Asks for servers of the kind given (target_session_attrs), whatever
  // the parameters say.
  void Require(const std::string& sessionAttributes);
  // True when the parameters ask for a standby first (prefer-standby,
  // standby or read-only).
  bool PrefersStandby() const;

  // One try through the servers: a connection whose settings are applied,
  // or null with the reason (never the password) and its kind
  // (unreachable, authentication refused, or the statement failed for
  // settings the server refuses).
  pg_conn* Connect(std::string& message, NUVHostFailureKind& kind) const;
  // Tries again and again, each server for at most the connect timeout
  // (5 s when none is set) and all of them for at most the failover
  // timeout, until a server answers; null, with the last reason, when none
  // did in time or a server refused the password.
  pg_conn* Reconnect(std::string& message) const;

  // Applies the host's settings to a new session; false, with the reason,
  // when the server refuses them.
  static bool ApplySettings(pg_conn* connection, const NUVPostgresOpenOptions& options, std::string& message);

 private:
  using Parameters = std::vector<std::pair<std::string, std::string>>;
  // The parameters with connect_timeout in milliseconds (none for 0) unless
  // they set one, and the server asked for when they name several.
  Parameters WithDefaults(int connectTimeoutMs) const;
  static pg_conn* ConnectWith(const Parameters& parameters);

  NUVPostgresOpenOptions options_;
  Parameters parameters_;
  std::string conninfo_;  // the string read, for masking its password in messages
};
