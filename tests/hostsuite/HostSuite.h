#pragma once
#include <gtest/gtest.h>

#include "HostUnderTest.h"

// The checks every host passes, whatever stands behind it. A host plugs in
// with INSTANTIATE_TEST_SUITE_P(Name, HostSuite, testing::Values(plugin),
// HostPluginName).
class HostSuite : public testing::TestWithParam<HostPlugin> {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::unique_ptr<HostUnderTest> host;
};

std::string HostPluginName(const testing::TestParamInfo<HostPlugin>& info);
