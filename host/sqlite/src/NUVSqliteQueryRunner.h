#pragma once
#include <string>
#include <vector>

#include "NUVEdbObjAttrType.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVSqliteDatabase;
struct sqlite3_stmt;

// Runs one finished statement on the database and appends one row of cells
// per answer row to a result table.
class NUVSqliteQueryRunner {
 public:
  explicit NUVSqliteQueryRunner(NUVSqliteDatabase& database) : database_(database) {}

  // The success code, or a failure code with a recorded platform error
  // naming what went wrong. With headers, a column named like a header
  // takes the header's class type and type. A text with more than one
  // statement is refused before anything runs; a writing statement runs in
  // a savepoint and is rolled back whole when it fails.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers);

 private:
  // How the values of one column become cells.
  struct Column {
    NUVUnicodeString attrName;
    NUVUnicodeString classType;
    NUVEdbObjAttrType type;  // EdbTypeNone: by the value's own type
  };

  std::vector<Column> Columns(sqlite3_stmt* statement, const NUVListPtrNUVBaseUnknown* headers) const;
  long Rows(sqlite3_stmt* statement, NUVEdbResultTable& table, const NUVListPtrNUVBaseUnknown* headers);
  long Cell(sqlite3_stmt* statement, int i, const Column& column, int row, NUVBaseUnknown*& cell) const;
  long Write(sqlite3_stmt* statement, NUVEdbResultTable& table, const NUVListPtrNUVBaseUnknown* headers);

  NUVSqliteDatabase& database_;
};

// Records a platform error with the message and answers its failure code.
long NUVSqliteRefused(const std::string& message);
