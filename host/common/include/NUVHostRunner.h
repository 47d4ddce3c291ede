#pragma once
#include <functional>
#include <vector>

#include "NUVHostBackend.h"
#include "NUVHostCells.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;

// Runs one finished statement through a backend and appends one row of
// cells per answer row to a result table, whole or in batches.
class NUVHostRunner {
 public:
  // A runner over the backend, which must outlive it.
  explicit NUVHostRunner(NUVHostBackend& backend) : backend_(backend) {}

  // The success code, or a failure code with a recorded platform error. With
  // headers, a column named like a header (in any case) takes the header's
  // attribute name, class type, and type where the value converts exactly.
  // A writing statement runs in a transaction, rolled back whole when
  // anything fails.
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table,
           const NUVListPtrNUVBaseUnknown* headers);
  // The same, handing the answer to the consumer in tables of at most
  // batchRows rows, each with the same header, each before the next is
  // filled; an answer without rows gives one table without rows. A failure
  // code from the consumer ends the run with that code. end, when given,
  // is called after the last batch, before a writing statement commits.
  // With sorts, each batch's values' sorts (row by row) are there when the
  // consumer takes it.
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows, const NUVHostBatchConsumer& consumer,
                    const NUVListPtrNUVBaseUnknown* headers, const NUVHostAnswerEnd& end = nullptr,
                    std::vector<NUVHostValueSort>* sorts = nullptr);

 private:
  using Filler = std::function<long(NUVHostCursor&, const std::vector<NUVHostCellColumn>&)>;

  long Execute(const NUVUnicodeString& text, bool streaming, const NUVListPtrNUVBaseUnknown* headers,
               const Filler& fill);
  // sorts, when given, receives the sort of each value filled in.
  long Fill(NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns, NUVEdbResultTable& table,
            size_t limit, int& row, bool& done, std::vector<NUVHostValueSort>* sorts = nullptr);
  long Batches(NUVHostCursor& cursor, const std::vector<NUVHostCellColumn>& columns, size_t batchRows,
               const NUVHostBatchConsumer& consumer, std::vector<NUVHostValueSort>* sorts);

  NUVHostBackend& backend_;
};
