#pragma once
#include <memory>
#include <string>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVHostCells.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVRef.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVHostDialect;
class NUVHostSession;
class NUVIEdbSysQuery2;

// What a user does with any host once it is open: while installed, its
// session answers the metadata tool, the database context and the error
// reporter, its database handle makes host objects from keys, and its
// query interface finds objects by key. Class type = table name,
// attribute = column name, key attribute = the table's primary-key column,
// key text = the primary-key value as text. Cells always carry texts
// blank-encoded. Keys of 1 to 256 letters, digits, '_', '.' and single
// inner '-' are accepted; objects with any other key are refused, so that
// no stored key can end a string literal or add SQL to a statement it is
// written into. One host, with every object it hands out, is used by one
// thread at a time.
class NUVHost {
 public:
  // Removes the session when it is installed and closes the database.
  virtual ~NUVHost();
  NUVHost(const NUVHost&) = delete;
  NUVHost& operator=(const NUVHost&) = delete;

  // @{
  // Makes the host the process's session; Uninstall removes it when it is
  // still the installed one.
  void Install();
  void Uninstall();
  // @}

  // Runs one finished statement, gives the table one header per column of
  // the statement (when it has none yet) and appends one row per answer
  // row. With headers (from ExtractInputDefinition), a column named like a
  // header takes the header's attribute name and class type, and its type
  // where the value converts exactly; a value that does not convert keeps
  // its own type, and an integer outside 32 bits becomes its decimal text.
  // A statement the database refuses, a text holding more than one
  // statement or an SQL parameter no value replaced gives a failure code
  // with a recorded platform error carrying the reason; a writing
  // statement runs in a transaction, rolled back whole when it fails.
  // The values PreProcessSQLStatement wrote are known as the library's
  // only when this very text was finished on this thread (among its last
  // 64): they are then checked against the database's lexer (a string's
  // name inside the author's quotes is refused, naming it) and, in plain
  // mode, decoded and bound. Every other part of the text, and any text the
  // library did not finish, runs exactly as written.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers = nullptr);
  // Runs the statement as Run does, but hands the answer to the consumer in
  // result tables of at most batchRows rows, each with the same header and
  // each before the next is filled, so that memory stays flat however long
  // the answer. An answer without rows gives one table without rows. A
  // failure code from the consumer ends the run with that code; a writing
  // statement that fails, or whose consumer fails, is rolled back whole.
  // end, when given, is called after the last batch and before a writing
  // statement commits: a caller delivers its output there, so that no
  // write commits whose output could not be delivered. With sorts, the
  // consumer finds there what the database answered each value of its
  // batch as (row by row, a value a column), which a cell cannot tell: an
  // integer beyond 32 bits in a text cell, a truth value in an integer cell.
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows, const NUVHostBatchConsumer& consumer,
                    const NUVListPtrNUVBaseUnknown* headers = nullptr, const NUVHostAnswerEnd& end = nullptr,
                    std::vector<NUVHostValueSort>* sorts = nullptr);

  // How the database keeps its texts.
  NUVHostTextMode TextMode() const;
  // The rows the last writing statement changed; -1 when it only read.
  long ChangedRows() const;
  // True when the last statement was a writing one, committed or rolled
  // back (ChangedRows is then -1).
  bool LastWrote() const;
  // The query interface, without a reference for the caller.
  NUVIEdbSysQuery2* Query() const;
  // The name of the current database.
  std::string DatabaseName() const;
  // The language the database speaks (its lexer, typed literals, whether a
  // statement writes, quoting), valid while the host lives.
  const NUVHostDialect& Dialect() const;
  // The key attribute of a class type; empty when its table has no
  // one-column primary key or there is no such table.
  std::string KeyAttribute(const std::string& classType) const;
  // The kind, SQLSTATE and message of the failure that ended the last Run
  // or RunInBatches; kind None after a success, or when the consumer's own
  // code ended the run.
  const NUVHostFailure& LastFailure() const { return lastFailure_; }
  // The error reporter's last reports, oldest first, one line each.
  std::vector<std::string> Reports() const;

 protected:
  // Adopts the caller's reference on the session, which must not be null.
  explicit NUVHost(NUVHostSession* session);

 private:
  NUVRef<NUVHostSession> session_;
  NUVHostFailure lastFailure_;
};
