// PreProcessSQLStatement with a statement and a parameter list decoded from
// the input: every parameter type, lists with and without a condition,
// null and foreign entries. Properties: no crash, an empty statement leaves
// the result alone, and every object and reference is given back.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzTestHost.h"
#include "HostObjectLists.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVRawColldouble.h"
#include "NUVRawCollfloat.h"
#include "NUVRawCollint.h"
#include "NUVRef.h"
#include "TestLists.h"

namespace {

NUVUnicodeString Text(FuzzedDataProvider& in, size_t most) {
  return NUVUnicodeString(std::string_view(in.ConsumeRandomLengthString(most)));
}

// Up to four items, each made by `item`.
template <class Collection, class Item>
Collection Items(FuzzedDataProvider& in, Item item) {
  Collection items;
  for (int count = in.ConsumeIntegralInRange(0, 4); count > 0; --count) items.Append(item());
  return items;
}

// A list parameter of four names at most and four values at most, with no
// condition, one of the bracketed ones, or a word.
template <class Collection>
NUVBaseUnknown* List(FuzzedDataProvider& in, const Collection& values) {
  static const char* const kConditions[] = {"", "|", "!", "%", "OR", "AND"};
  const auto names = Items<NUVListValNUVUnicodeString>(in, [&in] { return Text(in, 8); });
  return new NUVEdbSQLData(names, values, kConditions[in.ConsumeIntegralInRange<size_t>(0, 5)]);
}

template <class Collection, class Value>
NUVBaseUnknown* NumberList(FuzzedDataProvider& in) {
  return List(
      in, Items<Collection>(in, [&in] { return in.ConsumeIntegral<int>() % 1000 / static_cast<Value>(4); }));
}

NUVBaseUnknown* Parameter(FuzzedDataProvider& in, TestHost& host) {
  const int kind = in.ConsumeIntegralInRange(0, 11);
  if (kind == 6) return nullptr;
  if (kind == 7) return new NUVEdbAnyData(in.ConsumeIntegral<int>());
  if (kind == 8) return NumberList<NUVRawCollint, int>(in);
  if (kind == 9) return NumberList<NUVRawColldouble, double>(in);
  if (kind == 10) return NumberList<NUVRawCollfloat, float>(in);
  if (kind == 11) return List(in, Items<NUVListValNUVUnicodeString>(in, [&in] { return Text(in, 8); }));
  const NUVUnicodeString name = Text(in, 8);
  switch (kind) {
    case 0:
      return new NUVEdbSQLData(name, in.ConsumeIntegral<int>());
    case 1:
      return new NUVEdbSQLData(name, in.ConsumeFloatingPoint<float>());
    case 2:
      return new NUVEdbSQLData(name, in.ConsumeFloatingPoint<double>());
    case 3:
      return new NUVEdbSQLData(name, Text(in, 16), in.ConsumeBool() ? 1 : 0);
    case 4: {
      auto object = NUVRef<NUVIEdbSysObject>::Adopt(
          in.ConsumeBool() ? new TestHostObject(host, "PART", in.ConsumeRandomLengthString(8)) : nullptr);
      return new NUVEdbSQLData(name, object.get());
    }
    default: {
      auto objects = NUVAdopt(HostObjectList(host, "PART", {"K1", "K2"}));
      return List(in, objects.get());
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
  for (int count = in.ConsumeIntegralInRange(0, 6); count > 0; --count) parameters.Adopt(Parameter(in, host));
  const NUVUnicodeString statement(std::string_view(in.ConsumeRemainingBytesAsString()));
  NUVUnicodeString result("untouched");
  NUVEdbBrokerTool().PreProcessSQLStatement(statement, parameters, result);
  if (statement.GetLengthInChar() == 0) FUZZ_CHECK(result == "untouched");
  parameters.Clear();
  FuzzCheckAllGivenBack(live);
  return 0;
}
