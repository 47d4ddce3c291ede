#pragma once
#include <memory>
#include <string>
#include <vector>

#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVRef.h"
#include "NUVSqliteBatch.h"
#include "NUVSqliteOpenOptions.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVIEdbSysQuery2;
class NUVHostSession;

// A reference host over a SQLite database: while installed, its session
// answers the metadata tool, the database context and the error reporter,
// its database handle makes host objects from keys, and its query interface
// finds objects by key. Class type = table name, attribute = column name,
// key attribute = the table's primary-key column, key text = the
// primary-key value as text. Texts are stored in the database's text mode
// (NUVSqliteOpenOptions.h); cells always carry them blank-encoded. Keys of
// 1 to 256 letters, digits, '_', '.' and single inner '-' are accepted;
// objects with any other key are refused, so that no key stored in the
// database can end a string literal or add SQL to a statement it is
// written into.
//
// One host, with every object it hands out, is used by one thread at a
// time: its connection is opened without SQLite's per-connection mutex.
class NUVSqliteHost {
 public:
  // Opens an existing database file; null, with the reason in message, when
  // it does not exist or cannot be opened.
  static std::unique_ptr<NUVSqliteHost> OpenFile(const std::string& path, std::string& message,
                                                 const NUVSqliteOpenOptions& options = {});
  // Opens the built-in sample database in memory (encoded texts).
  static std::unique_ptr<NUVSqliteHost> OpenSample(std::string& message);
  // Writes the sample database to a new file, marked as holding encoded
  // texts; false, with the reason, when the file exists or cannot be
  // written.
  static bool WriteSample(const std::string& path, std::string& message);

  // Removes the session when it is installed and closes the database.
  ~NUVSqliteHost();
  NUVSqliteHost(const NUVSqliteHost&) = delete;
  NUVSqliteHost& operator=(const NUVSqliteHost&) = delete;

  // Makes the host the process's session; Uninstall removes it when it is
  // still the installed one.
  void Install();
  void Uninstall();

  // Runs one finished statement, gives the table one header per column of
  // the statement (when it has no header yet) and appends one row per
  // answer row. With headers (from ExtractInputDefinition), a column named like a
  // header takes the header's type where the value converts exactly, and
  // the header's class type; a value that does not convert keeps its own
  // type, and an integer outside 32 bits becomes its decimal text. A
  // statement SQLite refuses, a text holding more than one statement or an
  // SQL parameter (":x", "?", "@x", "$x") gives a failure code with a
  // recorded platform error carrying the reason; a writing statement that
  // fails is rolled back whole.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers = nullptr);
  // Runs the statement as Run does, but hands the answer to the consumer in
  // result tables of at most batchRows rows, each with the same header and
  // each before the next is filled, so that memory stays flat however long
  // the answer. An answer without rows gives one table without rows. A
  // failure code from the consumer ends the run with that code; a writing
  // statement that fails, or whose consumer fails, is rolled back whole.
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                    const NUVSqliteBatchConsumer& consumer,
                    const NUVListPtrNUVBaseUnknown* headers = nullptr);

  // How the database keeps its texts.
  NUVSqliteTextMode TextMode() const;
  // The number of rows the last writing statement of Run changed; -1 when
  // the last statement only read.
  long ChangedRows() const;

  // The query interface, without a reference for the caller.
  NUVIEdbSysQuery2* Query() const;
  // The name of the current database: "main".
  std::string DatabaseName() const;
  // The key attribute of a class type; empty when the schema has none.
  std::string KeyAttribute(const std::string& classType) const;
  // The error reporter's last reports, oldest first, one line each.
  std::vector<std::string> Reports() const;

 private:
  // Adopts the caller's reference on the session.
  explicit NUVSqliteHost(NUVHostSession* session);
  // A host over the session, adopting the caller's reference; null, with
  // the reason, when there is no session (memory ran out).
  static std::unique_ptr<NUVSqliteHost> Adopt(NUVHostSession* session, std::string& message);
  NUVRef<NUVHostSession> session_;
};
