// CreateVolatileObjectList's key text against the test host: one object
// per key up to the first empty token, keys without the separator or
// surrounding blanks, and every object and reference given back.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "FuzzTestHost.h"
#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TestHost& host = FuzzTestHost();
  const long live = NUVBaseUnknown::LiveObjectCount();
  const NUVUnicodeString keys(std::string_view(reinterpret_cast<const char*>(data), size));
  NUVRef<NUVIUnknownList> list;
  host.askedKeys.clear();
  NUVEdbBrokerTool().CreateVolatileObjectList("PART", "ID", keys, *list.out());
  std::string joined;
  for (const std::string& key : host.askedKeys) {
    FUZZ_CHECK(key.find('+') == std::string::npos);
    FUZZ_CHECK(key.empty() || (key.front() != ' ' && key.back() != ' '));
    if (&key != &host.askedKeys.front()) joined += '+';
    joined += key;
  }
  FUZZ_CHECK(KeysOf(list.get()) == joined);
  list.Reset();
  FUZZ_CHECK(TestHostObject::Live() == 0);
  FUZZ_CHECK(NUVBaseUnknown::LiveObjectCount() == live);
  return 0;
}
