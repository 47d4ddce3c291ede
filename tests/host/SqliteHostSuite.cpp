#include "HostSuite.h"
#include "NUVSqliteHost.h"

namespace {

// The SQLite host on its sample database, as the host-facing checks see it.
class SampleHost : public HostUnderTest {
 public:
  void Install() override { host_->Install(); }
  void Uninstall() override { host_->Uninstall(); }
  std::string DatabaseName() const override { return host_->DatabaseName(); }
  std::string ClassType() const override { return "PART"; }
  std::string KeyAttribute() const override { return "ID"; }
  std::vector<std::string> Keys() const override { return {"P1", "P2", "P8"}; }
  std::string MissingKey() const override { return "P99"; }
  NUVIEdbSysQuery2* Query() override { return host_->Query(); }
  bool RunsStatements() const override { return true; }
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table) override {
    return host_->Run(statement, table);
  }
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                    const std::function<long(NUVEdbResultTable&)>& consumer,
                    const NUVListPtrNUVBaseUnknown* headers) override {
    return host_->RunInBatches(statement, batchRows, consumer, headers);
  }

 private:
  std::string message_;
  std::unique_ptr<NUVSqliteHost> host_ = NUVSqliteHost::OpenSample(message_);
};

const HostPlugin kSample{"Sample", [] { return std::unique_ptr<HostUnderTest>(new SampleHost); }};

}  // namespace

INSTANTIATE_TEST_SUITE_P(SqliteHost, HostSuite, testing::Values(kSample), HostPluginName);
