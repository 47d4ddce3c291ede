#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "NUVHostCells.h"
#include "NUVHostFailure.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"
#include "Options.h"

class NUVEdbResultTable;
class NUVIEdbSysQuery2;

// The host edbquery runs on, whichever database stands behind it: a SQLite
// file (or the built-in sample) or a PostgreSQL server.
class QueryHost {
 public:
  using Consumer = std::function<long(NUVEdbResultTable& batch)>;

  virtual ~QueryHost() = default;
  virtual void Install() = 0;
  // end is called after the last batch, before a writing statement commits.
  virtual long RunInBatches(const NUVUnicodeString& statement, size_t batchRows, const Consumer& consumer,
                            const NUVListPtrNUVBaseUnknown* headers, const std::function<long()>& end) = 0;
  // While the consumer takes a batch: what the database answered each of
  // its values as, row by row.
  virtual const std::vector<NUVHostValueSort>& BatchSorts() const = 0;
  virtual long ChangedRows() const = 0;
  // True when the last statement was a writing one, committed or not.
  virtual bool LastWrote() const = 0;
  // The kind of failure that ended the last statement.
  virtual NUVHostFailureKind LastFailureKind() const = 0;
  // True when the database keeps texts as they are.
  virtual bool PlainText() const = 0;
  virtual std::string KeyAttribute(const std::string& classType) const = 0;
  // The query interface, without a reference for the caller.
  virtual NUVIEdbSysQuery2* Query() const = 0;
};

// True when --db or --init names a PostgreSQL server (a postgresql:// URI
// or a libpq keyword=value connection string) rather than a file.
bool NamesServer(const std::string& target);
// Opens the database of the options. Throws Failure when it cannot.
std::unique_ptr<QueryHost> OpenQueryHost(const Options& options);
// Writes the sample to the new file of --init, or into a server that has
// none of its tables. Throws Failure when it cannot, with nothing changed.
void WriteSample(const Options& options);
