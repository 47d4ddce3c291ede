#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "HostUnderTest.h"
#include "NUVEdbResultTable.h"
#include "NUVHost.h"

// One of the library's hosts (SQLite, PostgreSQL) as the checks see it:
// the sample's PART class and the calls every such host answers alike. A
// plug sets host_ and says which keys its database holds.
class LibraryHostUnderTest : public HostUnderTest {
 public:
  void Install() override {
    ASSERT_NE(host_, nullptr) << "no host";
    host_->Install();
  }
  void Uninstall() override {
    if (host_) host_->Uninstall();
  }
  std::string DatabaseName() const override { return host_ ? host_->DatabaseName() : ""; }
  std::string ClassType() const override { return "PART"; }
  std::string KeyAttribute() const override { return "ID"; }
  NUVIEdbSysQuery2* Query() override { return host_ ? host_->Query() : nullptr; }
  bool RunsStatements() const override { return true; }
  bool PlainTexts() const override { return host_ && host_->TextMode() == NUVHostTextMode::Plain; }
  long Run(const NUVUnicodeString& statement, NUVEdbResultTable& table) override {
    return host_->Run(statement, table);
  }
  long RunInBatches(const NUVUnicodeString& statement, size_t batchRows,
                    const std::function<long(NUVEdbResultTable&)>& consumer,
                    const NUVListPtrNUVBaseUnknown* headers) override {
    return host_->RunInBatches(statement, batchRows, consumer, headers);
  }

 protected:
  std::unique_ptr<NUVHost> host_;
};
