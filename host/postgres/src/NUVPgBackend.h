#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVPgConnector.h"
#include "NUVPgDialect.h"
#include "NUVPostgresOpenOptions.h"

class NUVPgCursor;
struct pg_conn;
struct pg_result;

// A PGresult that is cleared when it goes.
struct NUVPgResult {
  explicit NUVPgResult(pg_result* result = nullptr) : get(result) {}
  ~NUVPgResult();
  NUVPgResult(const NUVPgResult&) = delete;
  NUVPgResult& operator=(const NUVPgResult&) = delete;
  void Reset(pg_result* result);
  pg_result* get;
};

// The backend over one libpq connection: the connection's settings, what
// it knows of the schema (tables, their one-column primary keys, the names
// of tables by their object id), statements and transactions.
class NUVPgBackend : public NUVHostBackend {
 public:
  // Takes over a connection whose settings are applied already.
  NUVPgBackend(pg_conn* connection, const NUVPostgresOpenOptions& options);
  ~NUVPgBackend() override;
  NUVPgBackend(const NUVPgBackend&) = delete;
  NUVPgBackend& operator=(const NUVPgBackend&) = delete;

  // Why a result or the connection failed: the kind its SQLSTATE names
  // (a lost connection counts as 08006), the SQLSTATE, and the server's
  // message with what kind of failure it is; never the password.
  static NUVHostFailure FailureOf(pg_conn* connection, const pg_result* result);
  // FailureOf's message alone.
  static std::string Failure(pg_conn* connection, const pg_result* result) {
    return FailureOf(connection, result).message;
  }
  // True when the connection is gone, also when libpq has not noticed it
  // yet (a statement sent to a server that went away fails before its end
  // of file is read). Call it after a failure only.
  static bool Lost(pg_conn* connection);

  std::string DatabaseName() const override { return databaseName_; }
  const NUVHostDialect& Dialect() const override { return dialect_; }
  NUVHostTextMode TextMode() const override { return options_.textMode; }
  bool ReadOnly() const override { return readOnly_; }
  std::string Table(const std::string& classType) const override;
  std::string KeyColumn(const std::string& table) const override;
  long FindKey(const std::string& table, const std::string& column, const std::string& key,
               bool& exists) override;
  long Open(NUVHostWrittenText& statement, bool streaming, std::unique_ptr<NUVHostCursor>& cursor) override;
  // Begins the transaction, unless Open began it for the statement it ran.
  long Begin() override;
  long Commit() override;
  long Rollback() override { return Command("ROLLBACK"); }
  // Reads the schema again unless the last writing statement only changed
  // rows.
  void SchemaChanged() override {
    if (!rowsOnly_) LoadSchema();
  }

  pg_conn* Connection() const { return connection_; }
  // Counts the connections the backend has had: it grows by one with each
  // reconnect.
  long Generation() const { return generation_; }
  // Reconnects a lost connection (through the servers of the connection
  // string, within the failover timeout, the settings again); false, with
  // the reason, when it stays lost. True at once for a connection that is
  // not lost.
  bool Reachable(std::string& message);
  // True when the connection answers and, unless the host is read-only,
  // its server takes writes; false, with the reason, otherwise.
  bool Usable(std::string& message);
  // A cursor reads its answer in parts: the connection is busy until it
  // has drained it, and lookups take a second connection meanwhile.
  void SetStreaming(bool streaming) { streaming_ = streaming; }
  // The name of the table with the object id, empty for none (a computed
  // column); false, with the reason, when the server could not be asked.
  bool TableName(unsigned int oid, std::string& name, NUVHostFailure& failure);

 private:
  void LoadSchema();
  // A connector with the parameters of this backend's connection.
  NUVPgConnector ConnectorLikeThis() const;
  // Reads what the session is: its database, whether it is read-only, and
  // the server instance it runs on.
  void ReadSession();
  long Command(const std::string& sql);
  // Begins a statement's transaction, after one reconnect when the
  // connection was lost; false, with the reason, when it cannot.
  bool BeginStatement(NUVHostFailure& failure);
  // Settles a commit whose connection was lost before its answer came:
  // reconnected, the server says whether the transaction committed
  // (success), aborted (nothing applied: the connection's kind) or is
  // unknown (the commit outcome unknown kind).
  long SettleLostCommit(const NUVHostFailure& lost);
  // Rolls the transaction back, recording nothing: the failure that ends it
  // is already recorded.
  void Abandon();
  // The connection key lookups can use now: this one, or while an answer
  // streams a second one made with the same parameters; null, with the
  // reason, when neither is reachable.
  pg_conn* LookupConnection(std::string& message);
  // Sends the statement with its values (a writing one in a transaction
  // begun first, rolled back when it fails) and reads the first part of
  // its answer; null, with the failure, when it fails.
  std::unique_ptr<NUVPgCursor> StartStatement(std::string sql, std::vector<std::string> values, bool writes,
                                              bool streaming, NUVHostFailure& failure);

  pg_conn* connection_;      // owned; finished with the backend
  pg_conn* side_ = nullptr;  // owned; the second connection for lookups, made when first needed
  long generation_ = 0;
  bool streaming_ = false;  // a cursor's answer is being read row by row
  NUVPostgresOpenOptions options_;
  NUVPgDialect dialect_;
  std::string databaseName_;
  bool readOnly_ = false;
  bool begun_ = false;         // Open began the transaction of the statement it ran
  std::string transactionId_;  // the id of the transaction BeginStatement began
  // The server instance the connection runs on: the start of its server
  // process and of its statistics, which a restart after a crash resets
  // too. A transaction id names the same transaction only on the same
  // instance: one that crashed or a standby promoted may give an id that
  // never reached it to another transaction.
  std::string instance_;
  std::string transactionInstance_;                 // the instance the transaction of transactionId_ began on
  bool rowsOnly_ = false;                           // the last writing statement changes rows, not the schema
  std::map<std::string, std::string> keys_;         // table -> key column ("" for none)
  std::map<unsigned int, std::string> tableNames_;  // object id -> table
};
