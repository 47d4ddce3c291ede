#include "HostSuite.h"
#include "LibraryHostUnderTest.h"
#include "PgScratch.h"

namespace {

// The PostgreSQL host on the sample written into a schema of its own, as
// the host-facing checks see it: upper-case class types and attributes
// find the folded tables and columns.
class PgSampleHost : public LibraryHostUnderTest {
 public:
  PgSampleHost() { host_ = scratch_.Host(true); }
  ~PgSampleHost() override { host_.reset(); }  // before its schema goes
  std::vector<std::string> Keys() const override { return {"P1", "P2", "P8"}; }
  std::string MissingKey() const override { return "P99"; }
  bool FoldsNames() const override { return true; }
  bool DollarQuotes() const override { return true; }

 private:
  PgScratch scratch_;
};

const HostPlugin kPgSample{"Sample", [] { return std::unique_ptr<HostUnderTest>(new PgSampleHost); }};

}  // namespace

INSTANTIATE_TEST_SUITE_P(PostgresHost, HostSuite, testing::Values(kPgSample), HostPluginName);
