#include "NUVEdbSQLData.h"

#include "NUVEdbGuarded.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbSQLData"};
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbSQLData, NUVEdbAnyData)

NUVEdbSQLData::NUVEdbSQLData(const NUVUnicodeString& name, int value) : NUVEdbAnyData(value), name_(name) {}
NUVEdbSQLData::NUVEdbSQLData(const NUVUnicodeString& name, const float& value)
    : NUVEdbAnyData(value), name_(name) {}
NUVEdbSQLData::NUVEdbSQLData(const NUVUnicodeString& name, const double& value)
    : NUVEdbAnyData(value), name_(name) {}
NUVEdbSQLData::NUVEdbSQLData(const NUVUnicodeString& name, const NUVUnicodeString& value,
                             const unsigned char& keepEncoded)
    : NUVEdbAnyData(value, keepEncoded), name_(name) {}
NUVEdbSQLData::NUVEdbSQLData(const NUVUnicodeString& name, const IUnknown* value)
    : NUVEdbAnyData(value), name_(name) {}

NUVEdbSQLData::NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawCollint& values,
                             const NUVUnicodeString& condition)
    : NUVEdbAnyData(values), condition_(condition) {
  LoadListOfParmName(names);
}
NUVEdbSQLData::NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawCollfloat& values,
                             const NUVUnicodeString& condition)
    : NUVEdbAnyData(values), condition_(condition) {
  LoadListOfParmName(names);
}
NUVEdbSQLData::NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawColldouble& values,
                             const NUVUnicodeString& condition)
    : NUVEdbAnyData(values), condition_(condition) {
  LoadListOfParmName(names);
}
NUVEdbSQLData::NUVEdbSQLData(const NUVListValNUVUnicodeString& names,
                             const NUVListValNUVUnicodeString& values, const NUVUnicodeString& condition)
    : NUVEdbAnyData(values), condition_(condition) {
  LoadListOfParmName(names);
}
NUVEdbSQLData::NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVIUnknownList* values,
                             const NUVUnicodeString& condition)
    : NUVEdbAnyData(values), condition_(condition) {
  LoadListOfParmName(names);
}

NUVEdbSQLData::~NUVEdbSQLData() = default;

void NUVEdbSQLData::LoadListOfParmName(const NUVListValNUVUnicodeString& names) {
  if (names.Size() < 1) return;
  if (condition_.HasNoCharacter()) {
    for (int i = 1; i <= names.Size(); ++i) names_.Append(names[i]);
    return;
  }
  int count = 0;
  if (GetListSize(count) < 0) return;
  for (int i = 0; i < count; ++i) names_.Append(names[1]);
}

long NUVEdbSQLData::GetParmName(NUVUnicodeString& name) const {
  if (name_.HasNoCharacter()) return kSource.Failure();
  name = name_;
  return kSource.Success();
}

long NUVEdbSQLData::GetParmName(int n, NUVUnicodeString& name) const {
  if (n < 1 || n > names_.Size()) return kSource.Failure();
  name = names_[n];
  return kSource.Success();
}

long NUVEdbSQLData::GetParmCondition(NUVUnicodeString& condition) const {
  condition = condition_;
  return kSource.Success();
}

template <class... Value>
long NUVEdbSQLData::ListItem(int n, NUVUnicodeString& name, Value&&... value) const {
  return nuvedb::GuardedCode(kSource, [&] {
    const long named = GetParmName(n, name);
    if (named < 0) return named;
    return GetData(n, std::forward<Value>(value)...);
  });
}

long NUVEdbSQLData::GetListDataByItemNb(int n, NUVUnicodeString& name, int& value) const {
  return ListItem(n, name, value);
}
long NUVEdbSQLData::GetListDataByItemNb(int n, NUVUnicodeString& name, float& value) const {
  return ListItem(n, name, value);
}
long NUVEdbSQLData::GetListDataByItemNb(int n, NUVUnicodeString& name, double& value) const {
  return ListItem(n, name, value);
}
long NUVEdbSQLData::GetListDataByItemNb(int n, NUVUnicodeString& name, NUVUnicodeString& value,
                                        const unsigned char& decode) const {
  return ListItem(n, name, value, decode);
}
long NUVEdbSQLData::GetListDataByItemNb(int n, NUVUnicodeString& name, const GUID& iid, void** out) const {
  return ListItem(n, name, iid, out);
}
