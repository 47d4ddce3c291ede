#pragma once
#include "NUVEdsMetadataTool.h"

class TestHost;

// The test host's metadata tool: key attributes from the host's schema.
class TestMetadataTool : public NUVEdsMetadataTool {
 public:
  explicit TestMetadataTool(TestHost& host) : host_(host) {}
  // The key attribute of a known class type; empty for others and when
  // the script makes the call fail.
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) override;

 private:
  TestHost& host_;  // owns the tool
};
