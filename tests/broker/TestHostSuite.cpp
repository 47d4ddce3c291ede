#include "HostSuite.h"
#include "NUVRef.h"
#include "TestHost.h"

namespace {

// The in-memory test host as the host-facing checks see it.
class InMemoryHost : public HostUnderTest {
 public:
  void Install() override { host_->Install(); }
  void Uninstall() override { TestHost::Uninstall(); }
  std::string DatabaseName() const override { return host_->currentDatabase; }
  std::string ClassType() const override { return "PART"; }
  std::string KeyAttribute() const override { return "ID"; }
  std::vector<std::string> Keys() const override { return {"K1", "K2", "K3"}; }
  std::string MissingKey() const override { return "K9"; }
  NUVIEdbSysQuery2* Query() override { return host_->queryInterface.get(); }

 private:
  NUVRef<TestHost> host_ = NUVAdopt(new TestHost);
};

const HostPlugin kInMemory{"InMemory", [] { return std::unique_ptr<HostUnderTest>(new InMemoryHost); }};

}  // namespace

INSTANTIATE_TEST_SUITE_P(TestHost, HostSuite, testing::Values(kInMemory), HostPluginName);
