#include "HostSuite.h"
#include "PgScratch.h"

namespace {

// The PostgreSQL host on the sample written into a schema of its own, as
// the host-facing checks see it: upper-case class types and attributes
// find the folded tables and columns.
class PgSampleHost : public HostUnderTest {
 public:
  void Install() override {
    ASSERT_NE(host_, nullptr) << "no host on the throwaway server";
    host_->Install();
  }
  void Uninstall() override {
    if (host_) host_->Uninstall();
  }
  std::string DatabaseName() const override { return host_ ? host_->DatabaseName() : ""; }
  std::string ClassType() const override { return "PART"; }
  std::string KeyAttribute() const override { return "ID"; }
  std::vector<std::string> Keys() const override { return {"P1", "P2", "P8"}; }
  std::string MissingKey() const override { return "P99"; }
  NUVIEdbSysQuery2* Query() override { return host_ ? host_->Query() : nullptr; }
  bool RunsStatements() const override { return true; }
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table) override {
    return host_->Run(statement, table);
  }
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                    const std::function<long(NUVEdbResultTable&)>& consumer,
                    const NUVListPtrNUVBaseUnknown* headers) override {
    return host_->RunInBatches(statement, batchRows, consumer, headers);
  }
  bool FoldsNames() const override { return true; }

 private:
  PgScratch scratch_;
  std::unique_ptr<NUVPostgresHost> host_ = scratch_.Host(true);
};

const HostPlugin kPgSample{"Sample", [] { return std::unique_ptr<HostUnderTest>(new PgSampleHost); }};

}  // namespace

INSTANTIATE_TEST_SUITE_P(PostgresHost, HostSuite, testing::Values(kPgSample), HostPluginName);
