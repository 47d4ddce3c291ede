#pragma once
#include <string>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVPgBackend.h"

// A statement's answer: either received whole already (the backend ran
// the statement when it opened it), or read in parts as it streams from a
// statement prepared on the backend's connection (chunks of rows with
// libpq 17 and later, single rows before). A streamed reading statement
// outside a transaction whose connection is lost before any row was handed
// out runs once more on a new connection. Destroying it reads what the
// server still sends, so that the connection is ready for the next
// statement.
class NUVPgCursor final : public NUVHostCursor {
 public:
  // sql: the text prepared (for a replay); values: the statement's
  // parameters; types: the type object id of each column.
  NUVPgCursor(NUVPgBackend& backend, std::string sql, std::vector<std::string> values,
              std::vector<NUVHostColumn> columns, std::vector<unsigned int> types, bool writes,
              bool streaming);
  // A statement's whole answer, received already; takes answer's result.
  NUVPgCursor(NUVPgBackend& backend, NUVPgResult& answer, std::vector<NUVHostColumn> columns,
              std::vector<unsigned int> types, bool writes);
  ~NUVPgCursor() override { Drain(); }
  NUVPgCursor(const NUVPgCursor&) = delete;
  NUVPgCursor& operator=(const NUVPgCursor&) = delete;

  const std::vector<NUVHostColumn>& Columns() const override { return columns_; }
  bool Writes() const override { return writes_; }
  long ChangedRows() const override { return changed_; }
  // Sends the statement on the first call; replays it once when the
  // connection was lost before any row was handed out and it may be.
  long Next(bool& row) override;
  // The value with the server's text; bool as 0/1, bytea as its bytes,
  // numeric as a double only when the double is the same decimal number.
  NUVHostValue Value(size_t column) const override;

 private:
  // Next without the replay: failure says why it failed, and is empty
  // when it did not.
  void Step(bool& row, std::string& failure);
  // Sends the statement; false, with the reason, when it cannot.
  bool Start(std::string& failure);
  // True when a failed run may run again: the statement only reads, ran
  // outside a transaction, handed out no row and lost its connection.
  bool Replayable() const;
  // Reads whatever the server still sends for the statement.
  void Drain();

  NUVPgBackend& backend_;
  std::string sql_;
  std::vector<std::string> values_;
  std::vector<NUVHostColumn> columns_;
  std::vector<unsigned int> types_;
  mutable std::vector<std::string> bytes_;  // the decoded bytea of the current row, by column
  bool writes_;
  bool streaming_;      // the answer is read in parts as it arrives
  bool whole_ = false;  // the current result holds the whole answer
  int index_ = 0;       // the current row of the current result
  int rows_ = 0;        // the rows of the current result
  bool started_ = false;
  bool finished_ = false;
  bool idleAtStart_ = false;  // no transaction was open when the statement was sent
  bool handedOut_ = false;    // a row has been handed to the caller
  bool replayed_ = false;
  long changed_ = -1;
  NUVPgResult current_;
};
