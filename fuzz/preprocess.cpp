// PreProcessSQLStatement with a statement and a parameter list decoded from
// the input: every parameter type, lists with and without a condition,
// null and foreign entries. Properties: no crash, an empty statement leaves
// the result alone, and every object and reference is given back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "FuzzTestHost.h"
#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVListValNUVUnicodeString.h"
#include "NUVRawColldouble.h"
#include "NUVRawCollfloat.h"
#include "NUVRawCollint.h"
#include "NUVRef.h"
#include "TestHost.h"
#include "TestHostObject.h"
#include "TestLists.h"

namespace {

NUVUnicodeString Text(FuzzedDataProvider& in, size_t most) {
  return NUVUnicodeString(std::string_view(in.ConsumeRandomLengthString(most)));
}

NUVListValNUVUnicodeString Names(FuzzedDataProvider& in) {
  NUVListValNUVUnicodeString names;
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i) names.Append(Text(in, 8));
  return names;
}

template <class Collection, class Value>
Collection Numbers(FuzzedDataProvider& in) {
  Collection values;
  const int count = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < count; ++i) values.Append(in.ConsumeIntegral<int>() % 1000 / static_cast<Value>(4));
  return values;
}

// A condition: none, one of the bracketed ones, or a word.
NUVUnicodeString Condition(FuzzedDataProvider& in) {
  static const char* const kConditions[] = {"", "|", "!", "%", "OR", "AND"};
  return kConditions[in.ConsumeIntegralInRange<size_t>(0, 5)];
}

NUVBaseUnknown* Parameter(FuzzedDataProvider& in, TestHost& host) {
  switch (in.ConsumeIntegralInRange(0, 12)) {
    case 0:
      return new NUVEdbSQLData(Text(in, 8), in.ConsumeIntegral<int>());
    case 1:
      return new NUVEdbSQLData(Text(in, 8), in.ConsumeFloatingPoint<float>());
    case 2:
      return new NUVEdbSQLData(Text(in, 8), in.ConsumeFloatingPoint<double>());
    case 3:
    case 4: {
      const NUVUnicodeString name = Text(in, 8);
      const unsigned char keepEncoded = in.ConsumeBool() ? 1 : 0;
      return new NUVEdbSQLData(name, Text(in, 16), keepEncoded);
    }
    case 5: {
      const NUVUnicodeString name = Text(in, 8);
      auto object = NUVRef<NUVIEdbSysObject>::Adopt(
          in.ConsumeBool() ? new TestHostObject(host, "PART", in.ConsumeRandomLengthString(8)) : nullptr);
      return new NUVEdbSQLData(name, object.get());
    }
    case 6:
      return nullptr;
    case 7:
      return new NUVEdbAnyData(in.ConsumeIntegral<int>());
    case 8:
      return new NUVEdbSQLData(Names(in), Numbers<NUVRawCollint, int>(in), Condition(in));
    case 9:
      return new NUVEdbSQLData(Names(in), Numbers<NUVRawColldouble, double>(in), Condition(in));
    case 10:
      return new NUVEdbSQLData(Names(in), Numbers<NUVRawCollfloat, float>(in), Condition(in));
    case 11: {
      NUVListValNUVUnicodeString names = Names(in);
      NUVListValNUVUnicodeString values;
      const int count = in.ConsumeIntegralInRange(0, 4);
      for (int i = 0; i < count; ++i) values.Append(Text(in, 8));
      return new NUVEdbSQLData(names, values, Condition(in));
    }
    default: {
      NUVListValNUVUnicodeString names = Names(in);
      auto objects = NUVAdopt(HostObjectList(host, "PART", {"K1", "K2"}));
      return new NUVEdbSQLData(names, objects.get(), Condition(in));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TestHost& host = FuzzTestHost();
  const long live = NUVBaseUnknown::LiveObjectCount();
  FuzzedDataProvider in(data, size);
  host.objects.Reset();
  host.objects.failAt = in.ConsumeIntegralInRange(0, 3);
  OwnedList parameters;
  const int count = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < count; ++i) parameters.Adopt(Parameter(in, host));
  const NUVUnicodeString statement(std::string_view(in.ConsumeRemainingBytesAsString()));
  NUVUnicodeString result("untouched");
  NUVEdbBrokerTool().PreProcessSQLStatement(statement, parameters, result);
  if (statement.GetLengthInChar() == 0) FUZZ_CHECK(result == "untouched");
  parameters.Clear();
  FUZZ_CHECK(TestHostObject::Live() == 0);
  FUZZ_CHECK(NUVBaseUnknown::LiveObjectCount() == live);
  return 0;
}
