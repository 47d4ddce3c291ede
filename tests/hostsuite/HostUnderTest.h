#pragma once
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "IUnknown.h"

class NUVEdbResultTable;
class NUVIEdbSysQuery2;
class NUVListPtrNUVBaseUnknown;
class NUVUnicodeString;

// What the host-facing checks need to know of a host: how to make it the
// session, and a little of its schema and data.
class HostUnderTest {
 public:
  virtual ~HostUnderTest() = default;
  // Makes the host the process's session; Uninstall removes it again.
  virtual void Install() = 0;
  virtual void Uninstall() = 0;
  virtual std::string DatabaseName() const = 0;
  // A class type of the schema, its key attribute, at least two keys of
  // objects that exist, and a key no object has.
  virtual std::string ClassType() const = 0;
  virtual std::string KeyAttribute() const = 0;
  virtual std::vector<std::string> Keys() const = 0;
  virtual std::string MissingKey() const = 0;
  // The host's query interface, without a reference for the caller.
  virtual NUVIEdbSysQuery2* Query() = 0;

  // Quirk: false for a host that runs no statements (the in-memory test
  // host), whose keys are then never written into one.
  virtual bool RunsStatements() const { return false; }
  // Runs one finished statement, appending its rows to the table; a
  // negative code when the host refuses it.
  virtual long Run(const NUVUnicodeString&, NUVEdbResultTable&) { return NUV_E_FAIL; }
  // Runs the statement as Run does with the headers, handing the answer
  // over in tables of at most batchRows rows.
  virtual long RunInBatches(const NUVUnicodeString&, size_t /*batchRows*/,
                            const std::function<long(NUVEdbResultTable&)>& /*consumer*/,
                            const NUVListPtrNUVBaseUnknown* /*headers*/) {
    return NUV_E_FAIL;
  }
  // Quirk: the database folds unquoted names to lower case, so a column
  // without a header carries the folded name of its column and table.
  virtual bool FoldsNames() const { return false; }
  // Quirk: the database keeps its texts as they are (plain text mode).
  virtual bool PlainTexts() const { return false; }
  // Quirk: false when the sample's texts read back in the blank-encoded
  // form they were stored in (a sample written encoded, opened in plain
  // mode), so that "Pump housing" reads "Pump%20housing".
  virtual bool ReadsSampleTextsAsWritten() const { return true; }
  // Quirk: the database's lexer reads $$...$$ as a string literal.
  virtual bool DollarQuotes() const { return false; }
};

// One host the checks run against: a name for the test output and a
// factory.
struct HostPlugin {
  const char* name;
  std::unique_ptr<HostUnderTest> (*make)();
};
// Test names and messages show a host by its name.
inline void PrintTo(const HostPlugin& plugin, std::ostream* out) { *out << plugin.name; }
