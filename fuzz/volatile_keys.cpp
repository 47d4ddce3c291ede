// CreateVolatileObjectList's key text against the test host: one object
// per key up to the first empty token, keys without the separator or
// surrounding blanks, and every object and reference given back.
#include "FuzzTestHost.h"
#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVRef.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TestHost& host = FuzzTestHost();
  const long live = NUVBaseUnknown::LiveObjectCount();
  NUVRef<NUVIUnknownList> list;
  host.askedKeys.clear();
  NUVEdbBrokerTool().CreateVolatileObjectList("PART", "ID", NUVUnicodeString(FuzzText(data, size)),
                                              *list.out());
  std::string joined;
  for (const std::string& key : host.askedKeys) {
    FUZZ_CHECK(key.find('+') == std::string::npos);
    FUZZ_CHECK(key.empty() || (key.front() != ' ' && key.back() != ' '));
    joined += (&key == &host.askedKeys.front() ? "" : "+") + key;
  }
  FUZZ_CHECK(KeysOf(list.get()) == joined);
  list.Reset();
  FuzzCheckAllGivenBack(live);
  return 0;
}
