#pragma once
#include <functional>
#include <string>
#include <vector>

#include "NUVEdbObjAttrType.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVSqliteBatch.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVSqliteDatabase;
class NUVSqliteStatement;
struct sqlite3_stmt;

// Runs one finished statement on the database: gives a result table the
// statement's columns as its header and one row of cells per answer row,
// in one table or in batches.
class NUVSqliteQueryRunner {
 public:
  explicit NUVSqliteQueryRunner(NUVSqliteDatabase& database) : database_(database) {}

  // The success code, or a failure code with a recorded platform error
  // naming what went wrong. With headers, a column named like a header
  // takes the header's class type, and its type where the value converts
  // exactly. A text with more than one statement, or with an SQL parameter
  // that no value replaced, is refused before anything runs; a writing
  // statement runs in a savepoint and is rolled back whole when it fails.
  // In a plain database the statement's string literals are decoded and
  // bound as values.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers);
  // The same, handing the answer to the consumer in tables of at most
  // batchRows rows, each with the same header, each before the next is
  // filled; an answer without rows gives one table without rows. A failure
  // code from the consumer ends the run with that code (a writing statement
  // is then rolled back whole).
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                    const NUVSqliteBatchConsumer& consumer, const NUVListPtrNUVBaseUnknown* headers);

 private:
  // How the values of one column become cells.
  struct Column {
    NUVUnicodeString attrName;
    NUVUnicodeString classType;
    NUVEdbObjAttrType type;  // EdbTypeNone: by the value's own type
  };

  using Filler = std::function<long(sqlite3_stmt*, const std::vector<Column>&)>;

  std::vector<Column> Columns(sqlite3_stmt* statement, const NUVListPtrNUVBaseUnknown* headers) const;
  // Gives the table one header per column, when it has none yet.
  static long SetHeader(const std::vector<Column>& columns, NUVEdbResultTable& table);
  // Prepares the text, refuses what must not run, and has fill read the
  // answer; a writing statement inside a savepoint.
  long Execute(const NUVUnicodeString& text, const NUVListPtrNUVBaseUnknown* headers, const Filler& fill);
  // Appends up to limit rows to the table; done when the answer has no
  // more. row counts the rows read so far, for messages.
  long Fill(sqlite3_stmt* statement, const std::vector<Column>& columns, NUVEdbResultTable& table,
            size_t limit, int& row, bool& done);
  long Batches(sqlite3_stmt* statement, const std::vector<Column>& columns, size_t batchRows,
               const NUVSqliteBatchConsumer& consumer);
  long Cell(sqlite3_stmt* statement, int i, const Column& column, int row, NUVBaseUnknown*& cell) const;
  // Runs body in a savepoint, rolled back when it fails, and records the
  // rows it changed.
  long Write(sqlite3_stmt* statement, const std::function<long()>& body);
  // Prepares the first statement of the text; rest is where the next one
  // would begin.
  long Prepare(const std::string& text, NUVSqliteStatement& statement, size_t& rest);
  // Prepares the first statement of the text with its literals decoded and
  // bound; prepared is the text SQLite was given.
  long PreparePlain(const std::string& text, NUVSqliteStatement& statement, std::string& prepared,
                    size_t& rest);

  NUVSqliteDatabase& database_;
  int bound_ = 0;  // the values this runner bound to its statement
};

// Records a platform error with the message and answers its failure code.
long NUVSqliteRefused(const std::string& message);
