#pragma once
#include <memory>
#include <string>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVPostgresOpenOptions.h"
#include "NUVRef.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVHostSession;
class NUVIEdbSysQuery2;

// A host over a PostgreSQL server: while installed, its session answers the
// metadata tool, the database context and the error reporter, its database
// handle makes host objects from keys, and its query interface finds
// objects by key. Class type = table name, attribute = column name, key
// attribute = the table's primary-key column, key text = the primary-key
// value as text. A class type or attribute written in upper case finds the
// table or column whose unquoted name the server folded to lower case.
// Texts are plain by default: the library's string literals are decoded and
// sent as bound parameters; cells always carry texts blank-encoded.
class NUVPostgresHost {
 public:
  // Connects with a libpq connection string ("host=... dbname=...") or URI
  // ("postgresql://..."); the PG* environment variables apply. Null, with
  // the reason in message (never the password), when it cannot.
  static std::unique_ptr<NUVPostgresHost> Open(const std::string& conninfo, std::string& message,
                                               const NUVPostgresOpenOptions& options = {});
  // Creates the sample's tables and rows (plain texts) in the database;
  // false, with nothing changed and the reason in message, when any of its
  // tables exists already or the server refuses.
  static bool WriteSample(const std::string& conninfo, std::string& message);
  // True when the text is meant for this host: a postgresql:// or
  // postgres:// URI, or a keyword=value connection string.
  static bool IsConnectionString(const std::string& text);

  // Removes the session when it is installed and closes the connection.
  ~NUVPostgresHost();
  NUVPostgresHost(const NUVPostgresHost&) = delete;
  NUVPostgresHost& operator=(const NUVPostgresHost&) = delete;

  // Makes the host the process's session; Uninstall removes it when it is
  // still the installed one.
  void Install();
  void Uninstall();

  // Runs one finished statement, gives the table one header per column
  // (when it has none yet) and appends one row per answer row. With
  // headers (from ExtractInputDefinition), a column named like a header,
  // in any case, takes the header's attribute name, class type, and type
  // where the value converts exactly. int2, int4, bool (0/1) and int8
  // within 32 bits give integer cells, wider int8 its decimal text; float4,
  // float8 and numeric that a double holds exactly give double cells, other
  // numeric its text; bytea the hexadecimal text; other types their text.
  // A statement the server refuses, a text holding more than one statement
  // or a parameter no value replaced gives a failure code with a recorded
  // platform error carrying the server's message and SQLSTATE; a writing
  // statement runs in a transaction, rolled back whole when it fails.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers = nullptr);
  // Run reads the whole answer from the server at once (it is kept whole
  // in the table anyway). RunInBatches runs the statement as Run does,
  // reading its rows from the server one at a time, and hands them to the consumer in result tables of at
  // most batchRows rows, each with the same header and each before the next is filled. An answer without rows
  // gives one table without rows. A failure code from the consumer ends the run with that code; a writing
  // statement is then rolled back whole.
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows, const NUVHostBatchConsumer& consumer,
                    const NUVListPtrNUVBaseUnknown* headers = nullptr);

  NUVHostTextMode TextMode() const;
  // The rows the last writing statement changed; -1 when it only read.
  long ChangedRows() const;
  // The query interface, without a reference for the caller.
  NUVIEdbSysQuery2* Query() const;
  // The server's current_database().
  std::string DatabaseName() const;
  // The key attribute of a class type; empty when the table has no
  // one-column primary key or there is no such table.
  std::string KeyAttribute(const std::string& classType) const;
  // The error reporter's last reports, oldest first, one line each.
  std::vector<std::string> Reports() const;

 private:
  // Adopts the caller's reference on the session.
  explicit NUVPostgresHost(NUVHostSession* session);
  NUVRef<NUVHostSession> session_;
};
