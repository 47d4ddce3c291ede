#pragma once
#include <string>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVPgBackend.h"

// One statement sent with its values, and its answer: read whole (one
// result) or, when streaming, in parts as it arrives (chunks of rows with
// libpq 17 and later, single rows before). Start sends it and reads the
// first part, whose description gives the columns, so that a statement
// costs one round trip. A reading statement outside a transaction whose
// connection is lost before any row was handed out runs once more after
// one reconnect. Destroying it reads what the server still sends, so that
// the connection is ready for the next statement.
class NUVPgCursor final : public NUVHostCursor {
 public:
  // sql: the statement's text; values: its parameters, in order.
  NUVPgCursor(NUVPgBackend& backend, std::string sql, std::vector<std::string> values, bool writes,
              bool streaming);
  ~NUVPgCursor() override { Drain(); }
  NUVPgCursor(const NUVPgCursor&) = delete;
  NUVPgCursor& operator=(const NUVPgCursor&) = delete;

  // Sends the statement and reads the first part of its answer; false,
  // with the failure (its kind, SQLSTATE and reason), when either fails.
  // Records no error.
  bool Start(NUVHostFailure& failure);

  const std::vector<NUVHostColumn>& Columns() const override { return columns_; }
  bool Writes() const override { return writes_; }
  long ChangedRows() const override { return changed_; }
  // Hands out the next row; reads the next part of the answer when the
  // current one is used up.
  long Next(bool& row) override;
  // The value with the server's text; bool as 0/1, bytea as its bytes,
  // numeric as a double only when the double is the same decimal number.
  NUVHostValue Value(size_t column) const override;

 private:
  // Start without the replay.
  void Send(NUVHostFailure& failure);
  // Takes the part of the answer just read into current_: rows to hand out
  // from the first, or the answer's end, or a failure.
  void Take(NUVHostFailure& failure);
  // Reads the columns' names, tables and types from current_.
  bool Describe(NUVHostFailure& failure);
  // After a failure: runs the statement once more on a new connection when
  // it may; true when it did and the first part of its answer came.
  bool RunAgain(NUVHostFailure& failure);
  // True when a failed run may run again: the statement only reads, ran
  // outside a transaction, handed out no row and lost its connection.
  bool Replayable() const;
  // Reads whatever the server still sends for the statement.
  void ReadRest();
  // Lets the answer go and reads the rest of it.
  void Drain();

  NUVPgBackend& backend_;
  std::string sql_;
  std::vector<std::string> values_;
  std::vector<NUVHostColumn> columns_;
  std::vector<unsigned int> types_;
  mutable std::vector<std::string> bytes_;  // the decoded bytea of the current row, by column
  bool writes_;
  bool streaming_;            // the answer is read in parts as it arrives
  int index_ = 0;             // the current row of the current result
  int rows_ = 0;              // the rows of the current result
  bool reading_ = false;      // the server may still send parts of the answer
  bool idleAtStart_ = false;  // no transaction was open when the statement was sent
  bool handedOut_ = false;    // a row has been handed to the caller
  bool replayed_ = false;
  long changed_ = -1;
  NUVPgResult current_;
};
