#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "HostSuite.h"
#include "LibraryHostUnderTest.h"
#include "NUVEdbResultTable.h"
#include "NUVSqliteHost.h"

namespace {

// A SQLite host as the host-facing checks see it.
class SqliteHostUnderTest : public LibraryHostUnderTest {
 protected:
  std::string message_;
};

// The SQLite host on its sample database.
class SampleHost : public SqliteHostUnderTest {
 public:
  SampleHost() { host_ = NUVSqliteHost::OpenSample(message_); }
  std::vector<std::string> Keys() const override { return {"P1", "P2", "P8"}; }
  std::string MissingKey() const override { return "P99"; }
};

const HostPlugin kSample{"Sample", [] { return std::unique_ptr<HostUnderTest>(new SampleHost); }};

// The sample written to a file and opened in plain text mode, with a part
// whose key holds a hyphen and whose name holds blanks, stored as they are.
class PlainHost : public SqliteHostUnderTest {
 public:
  PlainHost() {
    std::remove(path_.c_str());
    EXPECT_TRUE(NUVSqliteHost::WriteSample(path_, message_)) << message_;
    host_ = NUVSqliteHost::OpenFile(path_, message_, {NUVSqliteTextMode::Plain});
    NUVEdbResultTable table;
    EXPECT_GE(host_->Run("INSERT INTO PART (ID, NAME) VALUES ('P-9', 'Plain part')", table), 0);
  }
  ~PlainHost() override {
    host_.reset();
    std::remove(path_.c_str());
  }
  std::vector<std::string> Keys() const override { return {"P1", "P-9", "P8"}; }
  std::string MissingKey() const override { return "P-99"; }
  // Its texts are the sample's, stored encoded, and plain mode reads them
  // as stored.
  bool ReadsSampleTextsAsWritten() const override { return false; }

 private:
  std::string path_ = testing::TempDir() + "nuvsuite" + std::to_string(getpid()) + ".sqlite";
};

const HostPlugin kPlain{"Plain", [] { return std::unique_ptr<HostUnderTest>(new PlainHost); }};

}  // namespace

INSTANTIATE_TEST_SUITE_P(SqliteHost, HostSuite, testing::Values(kSample, kPlain), HostPluginName);
