#include "NUVPgConnector.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

#include "NUVPgBackend.h"
#include "NUVPgSecrets.h"

namespace {

// A reconnect tries each server for this long when the host has no
// connect timeout of its own.
constexpr int kReconnectHostTimeoutMs = 5000;
// The pause between two rounds through the servers while none answers.
constexpr std::chrono::milliseconds kRoundPause(200);

// True when the failed connection's server asked for a password and
// refused the one given, or none was given. A failure after a password was
// accepted (a database that does not exist, say) is told apart by the
// server's message, which names authentication only in the first case.
bool Refused(pg_conn* connection) {
  if (PQconnectionNeedsPassword(connection)) return true;
  return PQconnectionUsedPassword(connection) &&
         std::string_view(PQerrorMessage(connection)).find("authentication") != std::string_view::npos;
}

// Why a connection could not be made, never with the password: neither
// the one the connection holds nor any text of the connection string that
// may be one (libpq quotes the part of a string it cannot parse).
std::string ConnectFailure(pg_conn* connection, const std::string& conninfo) {
  if (!connection) return "no memory for a connection";
  return (Refused(connection) ? "authentication refused: " : "") +
         NUVPgRedacted(NUVPgMasked(NUVPgOneLine(PQerrorMessage(connection)), NUVPgPasswordTexts(conninfo)),
                       PQpass(connection));
}

// The connect_timeout libpq takes: whole seconds, rounded up, at least its
// least of 2; empty for none.
std::string ConnectTimeout(int milliseconds) {
  if (milliseconds <= 0) return {};
  return std::to_string(std::max(2, (milliseconds + 999) / 1000));
}

}  // namespace

bool NUVPgConnector::Read(const std::string& conninfo, std::string& message) {
  conninfo_ = conninfo;
  parameters_.clear();
  // A bare word names a database, as libpq reads it in its dbname.
  const bool uri = conninfo.rfind("postgresql://", 0) == 0 || conninfo.rfind("postgres://", 0) == 0;
  if (!uri && conninfo.find('=') == std::string::npos) {
    if (!conninfo.empty()) parameters_.emplace_back("dbname", conninfo);
    return true;
  }
  char* error = nullptr;
  PQconninfoOption* parsed = PQconninfoParse(conninfo.c_str(), &error);
  if (!parsed) {
    message = "cannot connect to the server: " +
              (error ? NUVPgMasked(NUVPgOneLine(error), NUVPgPasswordTexts(conninfo)) : "no memory");
    PQfreemem(error);
    return false;
  }
  for (const PQconninfoOption* option = parsed; option->keyword; ++option)
    if (option->val) parameters_.emplace_back(option->keyword, option->val);
  PQconninfoFree(parsed);
  return true;
}

void NUVPgConnector::Take(pg_conn* connection) {
  parameters_.clear();
  PQconninfoOption* options = PQconninfo(connection);
  for (const PQconninfoOption* option = options; option && option->keyword; ++option)
    if (option->val) parameters_.emplace_back(option->keyword, option->val);
  PQconninfoFree(options);
}

void NUVPgConnector::Require(const std::string& sessionAttributes) {
  parameters_.erase(std::remove_if(parameters_.begin(), parameters_.end(),
                                   [](const auto& p) { return p.first == "target_session_attrs"; }),
                    parameters_.end());
  parameters_.emplace_back("target_session_attrs", sessionAttributes);
}

bool NUVPgConnector::PrefersStandby() const {
  for (const auto& [keyword, value] : parameters_)
    if (keyword == "target_session_attrs")
      return value == "prefer-standby" || value == "standby" || value == "read-only";
  return false;
}

NUVPgConnector::Parameters NUVPgConnector::WithDefaults(int connectTimeoutMs) const {
  Parameters parameters = parameters_;
  const auto given = [&](const char* keyword) {
    return std::any_of(parameters.begin(), parameters.end(),
                       [&](const auto& p) { return p.first == keyword; });
  };
  const auto several = [&](const char* keyword) {
    return std::any_of(parameters.begin(), parameters.end(), [&](const auto& p) {
      return p.first == keyword && p.second.find(',') != std::string::npos;
    });
  };
  const std::string timeout = ConnectTimeout(connectTimeoutMs);
  if (!timeout.empty() && !given("connect_timeout")) parameters.emplace_back("connect_timeout", timeout);
  if (!options_.readOnly && !given("target_session_attrs") && (several("host") || several("hostaddr")))
    parameters.emplace_back("target_session_attrs", "read-write");
  return parameters;
}

pg_conn* NUVPgConnector::ConnectWith(const Parameters& parameters) {
  std::vector<const char*> keywords;
  std::vector<const char*> values;
  for (const auto& [keyword, value] : parameters) {
    keywords.push_back(keyword.c_str());
    values.push_back(value.c_str());
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  return PQconnectdbParams(keywords.data(), values.data(), 0);
}

pg_conn* NUVPgConnector::Connect(std::string& message, NUVHostFailureKind& kind) const {
  PGconn* connection = ConnectWith(WithDefaults(options_.connectTimeoutMs));
  if (!connection) {
    message = "no memory for a connection";
    kind = NUVHostFailureKind::Unreachable;
    return nullptr;
  }
  if (PQstatus(connection) != CONNECTION_OK) {
    // Anything but a refused password (no answer, a server that refused
    // the connection) may answer later.
    kind = Refused(connection) ? NUVHostFailureKind::AuthenticationRefused : NUVHostFailureKind::Unreachable;
    message = "cannot connect to the server: " + ConnectFailure(connection, conninfo_);
    PQfinish(connection);
    return nullptr;
  }
  // Notices (a cascading drop, say) are not the caller's output.
  PQsetNoticeProcessor(
      connection, [](void*, const char*) {}, nullptr);
  if (!ApplySettings(connection, options_, message)) {
    kind = NUVHostFailureKind::StatementFailed;
    PQfinish(connection);
    return nullptr;
  }
  return connection;
}

pg_conn* NUVPgConnector::Reconnect(std::string& message) const {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, options_.failoverTimeoutMs));
  // Each server gets the connect timeout the connection had, but no round
  // runs on much past the deadline (libpq waits whole seconds, at least 2).
  NUVPgConnector perTry(*this);
  int hostTimeoutMs = options_.connectTimeoutMs > 0 ? options_.connectTimeoutMs : kReconnectHostTimeoutMs;
  for (auto at = perTry.parameters_.begin(); at != perTry.parameters_.end(); ++at) {
    if (at->first != "connect_timeout") continue;
    const int seconds = std::atoi(at->second.c_str());
    if (seconds > 0) hostTimeoutMs = seconds * 1000;
    perTry.parameters_.erase(at);
    break;
  }
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    perTry.options_.connectTimeoutMs = static_cast<int>(std::clamp<long long>(left, 1, hostTimeoutMs));
    NUVHostFailureKind kind = NUVHostFailureKind::Unreachable;
    std::string reason;
    if (PGconn* connection = perTry.Connect(reason, kind)) return connection;
    const auto rest = deadline - Clock::now();
    if (kind != NUVHostFailureKind::Unreachable || rest <= Clock::duration::zero()) {
      message = "connection lost, and reconnecting failed: " + reason;
      return nullptr;
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(kRoundPause, rest));
  }
}

bool NUVPgConnector::ApplySettings(pg_conn* connection, const NUVPostgresOpenOptions& options,
                                   std::string& message) {
  const std::string settings =
      "SET standard_conforming_strings = on; SET bytea_output = hex; SET extra_float_digits = 3; "
      "SET statement_timeout = " +
      std::to_string(options.statementTimeoutMs < 0 ? 0 : options.statementTimeoutMs) +
      "; SET lock_timeout = " + std::to_string(options.lockTimeoutMs < 0 ? 0 : options.lockTimeoutMs) +
      "; SET default_transaction_read_only = " + (options.readOnly ? "on" : "off");
  NUVPgResult applied(PQexec(connection, settings.c_str()));
  if (PQsetClientEncoding(connection, "UTF8") == 0 && PQresultStatus(applied.get) == PGRES_COMMAND_OK)
    return true;
  message = "the server refused the connection's settings: " + NUVPgBackend::Failure(connection, applied.get);
  return false;
}
