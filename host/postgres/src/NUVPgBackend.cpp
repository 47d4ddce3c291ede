#include "NUVPgBackend.h"

#include <libpq-fe.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "IUnknown.h"
#include "NUVHostQuotedName.h"
#include "NUVPgCursor.h"
#include "NUVPgDialect.h"
#include "NUVPgSecrets.h"
#include "NUVPgTextScan.h"

NUVPgResult::~NUVPgResult() { PQclear(get); }

void NUVPgResult::Reset(pg_result* result) {
  PQclear(get);
  get = result;
}

namespace {

// The kind of failure a SQLSTATE names.
NUVHostFailureKind KindOf(const std::string& state) {
  using Kind = NUVHostFailureKind;
  if (state.rfind("08", 0) == 0 || state.rfind("57P0", 0) == 0) return Kind::Unreachable;
  if (state == "57014" || state == "55P03") return Kind::Timeout;
  if (state == "40P01" || state == "40001") return Kind::Retryable;
  if (state.rfind("28", 0) == 0) return Kind::AuthenticationRefused;
  if (state == "25006") return Kind::ReadOnly;
  return Kind::StatementFailed;
}

// What a SQLSTATE class says to a person.
std::string Kind(const std::string& state) {
  if (state.rfind("08", 0) == 0 || state.rfind("57P0", 0) == 0) return "connection lost: ";
  if (state == "57014") return "statement timeout or cancel: ";
  if (state == "55P03") return "lock timeout: ";
  if (state == "40P01" || state == "40001") return "retryable, run it again: ";
  if (state.rfind("28", 0) == 0) return "authentication refused: ";
  return "";
}

bool OneOf(const std::string& word, std::initializer_list<const char*> words) {
  for (const char* candidate : words)
    if (word == candidate) return true;
  return false;
}

}  // namespace

NUVHostFailure NUVPgBackend::FailureOf(pg_conn* connection, const pg_result* result) {
  const char* field = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  std::string state = field ? field : "";
  const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  std::string message =
      NUVPgOneLine(primary ? primary : (connection ? PQerrorMessage(connection) : "no connection"));
  if (message.empty()) message = "the server gave no answer";
  if (state.empty() && Lost(connection)) state = "08006";
  message = Kind(state) + message + (state.empty() ? "" : " (SQLSTATE " + state + ")");
  return {KindOf(state), state, NUVPgRedacted(message, connection ? PQpass(connection) : nullptr)};
}

bool NUVPgBackend::Lost(pg_conn* connection) {
  if (!connection) return false;
  if (PQstatus(connection) == CONNECTION_OK) PQconsumeInput(connection);
  return PQstatus(connection) == CONNECTION_BAD;
}

NUVPgBackend::NUVPgBackend(pg_conn* connection, const NUVPostgresOpenOptions& options)
    : connection_(connection), options_(options) {
  ReadSession();
  LoadSchema();
}

void NUVPgBackend::ReadSession() {
  NUVPgResult session(PQexec(connection_,
                             "SELECT current_database(), current_setting('transaction_read_only'), "
                             "pg_postmaster_start_time()::text || ' ' || COALESCE((SELECT stats_reset::text "
                             "FROM pg_stat_bgwriter), '')"));
  if (PQresultStatus(session.get) != PGRES_TUPLES_OK || PQntuples(session.get) != 1) return;
  databaseName_ = PQgetvalue(session.get, 0, 0);
  readOnly_ = std::string(PQgetvalue(session.get, 0, 1)) == "on";
  instance_ = PQgetvalue(session.get, 0, 2);
}

NUVPgBackend::~NUVPgBackend() {
  PQfinish(side_);
  PQfinish(connection_);
}

pg_conn* NUVPgBackend::LookupConnection(std::string& message) {
  if (!streaming_) return Reachable(message) ? connection_ : nullptr;
  if (side_ && PQstatus(side_) == CONNECTION_OK) return side_;
  PQfinish(std::exchange(side_, nullptr));
  NUVHostFailureKind kind = NUVHostFailureKind::Unreachable;
  PGconn* side = ConnectorLikeThis().Connect(message, kind);
  if (!side) {
    message = "a second connection for key lookups failed: " + message;
    return nullptr;
  }
  return side_ = side;
}

void NUVPgBackend::LoadSchema() {
  keys_.clear();
  tableNames_.clear();
  NUVPgResult tables(PQexec(connection_,
                            "SELECT c.oid, c.relname, (SELECT a.attname FROM pg_index i JOIN pg_attribute a "
                            "ON a.attrelid = i.indrelid AND a.attnum = i.indkey[0] WHERE i.indrelid = c.oid "
                            "AND i.indisprimary AND i.indnkeyatts = 1) FROM pg_class c "
                            "WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') AND pg_table_is_visible(c.oid)"));
  if (PQresultStatus(tables.get) != PGRES_TUPLES_OK) return;
  for (int row = 0; row < PQntuples(tables.get); ++row) {
    const std::string table = PQgetvalue(tables.get, row, 1);
    keys_[table] = PQgetvalue(tables.get, row, 2);
    tableNames_[static_cast<unsigned int>(std::strtoul(PQgetvalue(tables.get, row, 0), nullptr, 10))] = table;
  }
}

std::string NUVPgBackend::Table(const std::string& classType) const {
  if (keys_.count(classType)) return classType;
  std::string folded = classType;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return keys_.count(folded) ? folded : std::string();
}

std::string NUVPgBackend::KeyColumn(const std::string& table) const {
  const auto found = keys_.find(table);
  return found == keys_.end() ? std::string() : found->second;
}

bool NUVPgBackend::TableName(unsigned int oid, std::string& name, NUVHostFailure& failure) {
  name.clear();
  if (oid == 0) return true;
  const auto known = tableNames_.find(oid);
  if (known != tableNames_.end()) {
    name = known->second;
    return true;
  }
  std::string message;
  PGconn* connection = LookupConnection(message);
  if (!connection) {
    failure = {NUVHostFailureKind::Unreachable, {}, message};
    return false;
  }
  const std::string id = std::to_string(oid);
  const char* values[] = {id.c_str()};
  NUVPgResult found(PQexecParams(connection, "SELECT relname FROM pg_class WHERE oid = $1::oid", 1, nullptr,
                                 values, nullptr, nullptr, 0));
  if (PQresultStatus(found.get) != PGRES_TUPLES_OK) {
    failure = FailureOf(connection, found.get);
    return false;
  }
  name = tableNames_[oid] = PQntuples(found.get) == 1 ? PQgetvalue(found.get, 0, 0) : "";
  return true;
}

long NUVPgBackend::FindKey(const std::string& table, const std::string& column, const std::string& key,
                           bool& exists) {
  exists = false;
  std::string message;
  PGconn* connection = LookupConnection(message);
  if (!connection) return NUVHostFailed({NUVHostFailureKind::Unreachable, {}, message});
  // The key read in the column's own type finds the row through the key's
  // index; its text form must then be the key itself. A key that is no
  // value of the column's type (a data exception, class 22) names no row.
  const std::string name = nuvhost::QuotedName(column);
  const std::string sql = "SELECT 1 FROM " + nuvhost::QuotedName(table) + " WHERE " + name + " = $1 AND " +
                          name + "::text = $2 LIMIT 1";
  const char* values[] = {key.c_str(), key.c_str()};
  NUVPgResult found(PQexecParams(connection, sql.c_str(), 2, nullptr, values, nullptr, nullptr, 0));
  if (PQresultStatus(found.get) == PGRES_TUPLES_OK) {
    exists = PQntuples(found.get) > 0;
    return NUV_S_OK;
  }
  const char* state = PQresultErrorField(found.get, PG_DIAG_SQLSTATE);
  if (state && std::string_view(state).substr(0, 2) == "22") return NUV_S_OK;
  return NUVHostFailed(FailureOf(connection, found.get));
}

NUVPgConnector NUVPgBackend::ConnectorLikeThis() const {
  // The same connection parameters, password included, never written out.
  NUVPgConnector connector(options_);
  connector.Take(connection_);
  return connector;
}

bool NUVPgBackend::Reachable(std::string& message) {
  if (PQstatus(connection_) == CONNECTION_OK) return true;
  // Through the whole list of servers, a standby promoted meanwhile
  // included; the new session gets the host's settings again.
  PGconn* connection = ConnectorLikeThis().Reconnect(message);
  if (!connection) return false;
  PQfinish(std::exchange(connection_, connection));
  ++generation_;
  ReadSession();
  return true;
}

bool NUVPgBackend::Usable(std::string& message) {
  NUVPgResult role(
      PQexec(connection_, "SELECT pg_is_in_recovery(), current_setting('transaction_read_only')"));
  if (PQresultStatus(role.get) != PGRES_TUPLES_OK || PQntuples(role.get) != 1) {
    message = Failure(connection_, role.get);
    return false;
  }
  if (options_.readOnly) return true;
  if (std::string_view(PQgetvalue(role.get, 0, 0)) == "t") {
    message = "the session runs on a standby, which takes no writes";
    return false;
  }
  if (std::string_view(PQgetvalue(role.get, 0, 1)) == "on") {
    message = "the session is read-only";
    return false;
  }
  return true;
}

long NUVPgBackend::Begin() { return std::exchange(begun_, false) ? NUV_S_OK : Command("BEGIN"); }

void NUVPgBackend::Abandon() { NUVPgResult ended(PQexec(connection_, "ROLLBACK")); }

long NUVPgBackend::Command(const std::string& sql) {
  NUVPgResult result(PQexec(connection_, sql.c_str()));
  if (PQresultStatus(result.get) == PGRES_COMMAND_OK) return NUV_S_OK;
  return NUVHostFailed(FailureOf(connection_, result.get));
}

long NUVPgBackend::Commit() {
  NUVPgResult result(PQexec(connection_, "COMMIT"));
  if (PQresultStatus(result.get) == PGRES_COMMAND_OK) return NUV_S_OK;
  const NUVHostFailure failure = FailureOf(connection_, result.get);
  if (!Lost(connection_)) return NUVHostFailed(failure);
  return SettleLostCommit(failure);
}

long NUVPgBackend::SettleLostCommit(const NUVHostFailure& lost) {
  // The server may have committed before the answer was lost: a new
  // connection asks what became of the transaction.
  std::string message;
  NUVPgResult status;
  if (!transactionId_.empty() && Reachable(message)) {
    const char* values[] = {transactionId_.c_str()};
    status.Reset(
        PQexecParams(connection_, "SELECT txid_status($1::bigint)", 1, nullptr, values, nullptr, nullptr, 0));
  }
  const bool answered = PQresultStatus(status.get) == PGRES_TUPLES_OK && PQntuples(status.get) == 1 &&
                        !PQgetisnull(status.get, 0, 0);
  const std::string outcome = answered ? PQgetvalue(status.get, 0, 0) : "";
  const bool sameInstance = !instance_.empty() && instance_ == transactionInstance_;
  // An id beyond any this server gave never reached it: the server that
  // committed nothing of it is the one that goes on.
  const char* state = status.get ? PQresultErrorField(status.get, PG_DIAG_SQLSTATE) : nullptr;
  const bool unknownHere = !sameInstance && state && std::string_view(state) == "22023";
  if (outcome == "committed" && sameInstance) return NUV_S_OK;
  if (outcome == "aborted" || unknownHere) {
    return NUVHostFailed(
        {NUVHostFailureKind::Unreachable, lost.sqlstate,
         "the connection was lost during the commit, which did not apply the statement: " + lost.message});
  }
  // Committed on another instance (a promoted standby, or the server after
  // a crash) may be another transaction that got the same id there.
  return NUVHostFailed({NUVHostFailureKind::CommitUnknown, lost.sqlstate,
                        "the commit's outcome is unknown (in doubt): " + lost.message});
}

bool NUVPgBackend::BeginStatement(NUVHostFailure& failure) {
  // One round trip begins the transaction and names its id, by which a
  // commit whose answer is lost is settled.
  transactionId_.clear();
  NUVPgResult begun(PQexec(connection_, "BEGIN; SELECT txid_current()"));
  std::string message;
  // A connection the server closed while it was idle shows only now.
  if (PQresultStatus(begun.get) != PGRES_TUPLES_OK && Lost(connection_)) {
    if (!Reachable(message)) {
      failure = {NUVHostFailureKind::Unreachable, {}, message};
      return false;
    }
    begun.Reset(PQexec(connection_, "BEGIN; SELECT txid_current()"));
  }
  if (PQresultStatus(begun.get) == PGRES_TUPLES_OK && PQntuples(begun.get) == 1) {
    transactionId_ = PQgetvalue(begun.get, 0, 0);
    transactionInstance_ = instance_;
    return true;
  }
  failure = FailureOf(connection_, begun.get);
  // Begun, but its id not read: a standby, say, refuses to assign one and
  // leaves the transaction aborted, which would refuse everything after.
  const PGTransactionStatusType status = PQtransactionStatus(connection_);
  if (status == PQTRANS_INTRANS || status == PQTRANS_INERROR) Abandon();
  return false;
}

std::unique_ptr<NUVPgCursor> NUVPgBackend::StartStatement(std::string sql, std::vector<std::string> values,
                                                          bool writes, bool streaming,
                                                          NUVHostFailure& failure) {
  if (writes && !BeginStatement(failure)) return nullptr;
  auto cursor = std::make_unique<NUVPgCursor>(*this, std::move(sql), std::move(values), writes, streaming);
  if (cursor->Start(failure)) return cursor;
  cursor.reset();         // reads what is left of the answer
  if (writes) Abandon();  // nothing of it stays
  return nullptr;
}

long NUVPgBackend::Open(NUVHostWrittenText& statement, bool streaming,
                        std::unique_ptr<NUVHostCursor>& cursor) {
  cursor.reset();
  std::string message;
  if (!Reachable(message)) return NUVHostFailed({NUVHostFailureKind::Unreachable, {}, message});
  const bool plain = options_.textMode == NUVHostTextMode::Plain;
  const NUVPgStatementText text = NUVPgPrepareText(statement, plain);
  if (!text.problem.empty()) return NUVHostRefused(text.problem);
  if (text.firstWord == "COPY") return NUVHostRefused("COPY is not taken by this host: use SELECT or INSERT");
  const bool bind =
      plain && !text.values.empty() &&
      OneOf(text.firstWord, {"SELECT", "INSERT", "UPDATE", "DELETE", "MERGE", "VALUES", "WITH"});
  const bool writes = NUVPgDialect::WritesAfter(text.firstWord);
  if (writes) rowsOnly_ = OneOf(text.firstWord, {"INSERT", "UPDATE", "DELETE", "MERGE", "WITH"});
  SetLastWrote(writes);  // the statement runs here already, and may fail here
  NUVHostFailure failure;
  // Bound values go as parameters; plain literals that are not bound go
  // decoded into the text; encoded text goes as written.
  std::string sql(statement.Text());
  if (bind)
    sql = text.withParameters;
  else if (plain)
    sql = text.inlined;
  std::unique_ptr<NUVPgCursor> opened = StartStatement(
      std::move(sql), bind ? text.values : std::vector<std::string>(), writes, streaming, failure);
  if (!opened && bind && failure.sqlstate == "42P18") {
    // The server cannot tell a parameter's type there: the values go into
    // the text as literals of their own.
    failure = {};
    opened = StartStatement(text.inlined, {}, writes, streaming, failure);
  }
  if (!opened) return NUVHostFailed(failure);
  begun_ = writes;
  cursor = std::move(opened);
  return NUV_S_OK;
}
