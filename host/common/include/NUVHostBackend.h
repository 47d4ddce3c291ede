#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "NUVHostFailure.h"

class NUVEdbResultTable;
class NUVHostDialect;
class NUVHostWrittenText;

// How a database keeps its texts. Encoded: in the blank-encoded form the
// library writes into statements. Plain: as they are; the host decodes the
// string literals the library recorded as its own when it finished the
// statement and hands them to the database as values, and runs the rest of
// the text, every literal its author wrote included, as written.
enum class NUVHostTextMode { Encoded, Plain };

// Takes one batch of an answer: a result table the host filled and
// destroys after the call. A failure code ends the run with that code.
using NUVHostBatchConsumer = std::function<long(NUVEdbResultTable& batch)>;
// Called once after the last batch and before a writing statement's
// transaction commits, so that the caller can deliver what it made of the
// answer first; a failure code ends the run with that code and rolls the
// statement back.
using NUVHostAnswerEnd = std::function<long()>;

// One column of an answer: its name as the database gives it and the table
// it comes from; table is empty for a computed column.
struct NUVHostColumn {
  std::string name;   // the column's name
  std::string table;  // the table it comes from; empty for a computed column
};

// One value of the cursor's current row, valid until the cursor moves.
struct NUVHostValue {
  // The kind of value, which says which field holds it.
  enum class Kind { Null, Integer, Double, Text, Bytes };
  Kind kind = Kind::Null;  // which of the fields below holds the value
  int64_t integer = 0;     // an Integer value
  double real = 0;         // a Double value
  // Text: the text; Bytes: the raw bytes; Integer and Double: their text
  // form as the database writes it, or empty when it gives none here (the
  // cursor's NumberText may then give it).
  std::string_view text;
  // An Integer that is a truth value (1 or 0) where the database has a
  // type for them.
  bool boolean = false;
};

// A prepared statement and, once it runs, its answer, read a row at a time.
// Destroying it ends the statement and reads what the database still sends.
class NUVHostCursor {
 public:
  virtual ~NUVHostCursor() = default;
  // The answer's columns, in order.
  virtual const std::vector<NUVHostColumn>& Columns() const = 0;
  // True when the statement may write: it then runs inside Begin/Commit.
  virtual bool Writes() const = 0;
  // Runs the statement on the first call and moves to the next row; row is
  // false after the last. A failure code with a recorded error otherwise.
  virtual long Next(bool& row) = 0;
  // The current row's value of a column, counted from 0.
  virtual NUVHostValue Value(size_t column) const = 0;
  // The current row's number in a column as the database writes it as
  // text, for a cursor whose values leave it out (making it costs);
  // empty when the database gives none.
  virtual std::string_view NumberText(size_t /*column*/) const { return {}; }
  // The rows a writing statement changed, once Next has reached the end.
  virtual long ChangedRows() const = 0;
};

// What differs between hosts: opening statements, the schema, key lookups
// and transactions. Every failure code comes with a recorded platform error
// of its failure kind (NUVHostFailure.h) that names what went wrong.
class NUVHostBackend {
 public:
  virtual ~NUVHostBackend() = default;

  // The name of the current database.
  virtual std::string DatabaseName() const = 0;
  // The language the database speaks: its lexer, typed literals, whether a
  // statement writes, quoting. It lives as long as the backend.
  virtual const NUVHostDialect& Dialect() const = 0;
  // How the database stores texts, chosen when it was opened.
  virtual NUVHostTextMode TextMode() const = 0;
  // True when the database was opened read-only.
  virtual bool ReadOnly() const = 0;
  // The table a class type names: the one of exactly that name, else the
  // one its lower-case form names (a database that folds unquoted names);
  // empty when there is none.
  virtual std::string Table(const std::string& classType) const = 0;
  // True when a header names a column whose name differs from it only in
  // case (a database that folds unquoted names); false when names must be
  // the same.
  virtual bool MatchesNamesIgnoringCase() const { return true; }
  // The table's one primary-key column; empty when it has none or several.
  virtual std::string KeyColumn(const std::string& table) const = 0;
  // exists is true when a row of the table holds the key, as stored, in the
  // column.
  virtual long FindKey(const std::string& table, const std::string& column, const std::string& key,
                       bool& exists) = 0;
  // Opens one finished statement as a cursor whose columns are known (a
  // backend may run the statement here already; a writing one then in the
  // transaction Begin finds open); refuses a text with no statement or
  // more than one, with an SQL parameter no value replaced, or whose
  // library-written values do not keep their shape under the backend's
  // lexer. streaming: the caller takes the answer a batch at a time, so
  // the backend must not hold more of it than a few rows; otherwise it may
  // read it whole.
  virtual long Open(NUVHostWrittenText& statement, bool streaming, std::unique_ptr<NUVHostCursor>& cursor) = 0;
  // Begins the transaction of the writing statement just opened (or finds
  // it begun by Open).
  virtual long Begin() = 0;
  // Commits the transaction Begin began.
  virtual long Commit() = 0;
  // Undoes the whole transaction Begin began.
  virtual long Rollback() = 0;
  // A writing statement ran: the tables and keys are read again where it
  // may have changed them.
  virtual void SchemaChanged() = 0;

  // @{
  // The rows the last writing statement changed; -1 after a reading one.
  long LastChanges() const { return lastChanges_; }
  void SetLastChanges(long changes) { lastChanges_ = changes; }
  // @}
  // @{
  // True when the last statement opened was a writing one, whether it
  // committed or was rolled back.
  bool LastWrote() const { return lastWrote_; }
  void SetLastWrote(bool wrote) { lastWrote_ = wrote; }
  // @}

 private:
  long lastChanges_ = -1;
  bool lastWrote_ = false;
};

