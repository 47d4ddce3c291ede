#pragma once
#include <cctype>
#include <string>

#include "CellText.h"
#include "HostSuite.h"
#include "NUVEdbResultTable.h"
#include "NUVRefList.h"
#include "RecordedText.h"

// Runs statements on the host under test and says what came back.
class Runner {
 public:
  explicit Runner(HostUnderTest& host) : host_(host) {}

  // The name as the host gives it for a column without a header.
  std::string Name(std::string name) const {
    if (host_.FoldsNames())
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  }

  // Runs the statement in batches, keeping the last row (values alone when
  // bare, texts as stored with decode 0); the reason it was refused, or
  // empty.
  std::string Refusal(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr,
                      bool bare = false, int decode = 1) {
    const long code = host_.RunInBatches(
        statement.c_str(), 2,
        [&](NUVEdbResultTable& batch) {
          int rows = 0;
          batch.GetNumberOfRows(rows);
          for (int n = 1; n <= rows; ++n) {
            NUVRefList cells;
            batch.GetRow(n, cells.get());
            lastRow_ = CellText(cells.get(), bare, decode);
          }
          return 0L;
        },
        headers);
    return code >= 0 ? "" : RecordedText(code);
  }

  // The statement's last row, or why it was refused; bare, its values
  // alone, texts as stored (decode 0) or decoded (1).
  std::string LastRow(const std::string& statement, const NUVListPtrNUVBaseUnknown* headers = nullptr,
                      bool bare = false, int decode = 1) {
    lastRow_ = "<no row>";
    const std::string refusal = Refusal(statement, headers, bare, decode);
    return refusal.empty() ? lastRow_ : "<refused: " + refusal + ">";
  }
  std::string LastValues(const std::string& statement, int decode = 1) {
    return LastRow(statement, nullptr, true, decode);
  }

 private:
  HostUnderTest& host_;
  std::string lastRow_;
};

// Skips a test on a host that runs no statements; gives the test its
// Runner, run.
#define NUV_NEEDS_STATEMENTS()                                                \
  if (!host->RunsStatements()) GTEST_SKIP() << "the host runs no statements"; \
  Runner run(*host)
