#include "QueryParameters.h"

#include "Failure.h"
#include "NUVEdbSQLData.h"
#include "NUVHost.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVIUnknownListImpl.h"
#include "NUVRef.h"
#include "RecordedMessage.h"

namespace {

NUVUnicodeString Text(const std::string& text) { return NUVUnicodeString(std::string_view(text)); }

NUVListValNUVUnicodeString TextList(const std::vector<std::string>& texts) {
  NUVListValNUVUnicodeString list(static_cast<int>(texts.size()));
  for (const std::string& text : texts) list.Append(Text(text));
  return list;
}

template <class Collection, class Value>
Collection NumberList(const std::vector<Value>& values) {
  Collection list(static_cast<int>(values.size()));
  for (const Value& value : values) list.Append(value);
  return list;
}

[[noreturn]] void OutOfMemory() { throw Failure(kDatabaseError, "out of memory"); }

}  // namespace

QueryParameters::QueryParameters(const std::vector<ParameterOption>& requested, const NUVHost& host)
    : host_(host) {
  try {
    for (const ParameterOption& entry : requested) Add(entry);
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

QueryParameters::~QueryParameters() { ReleaseAll(); }

void QueryParameters::ReleaseAll() { parameters_.Clear(); }

void QueryParameters::Adopt(NUVBaseUnknown* parameter) {
  if (!parameter) OutOfMemory();
  parameters_.Adopt(parameter);
}

void QueryParameters::Add(const ParameterOption& entry) {
  const NUVUnicodeString name = Text(entry.names.front());
  const NUVUnicodeString condition = Text(entry.condition);
  const NUVListValNUVUnicodeString names = TextList(entry.names);
  switch (entry.kind) {
    case ParameterKind::Int:
      return Adopt(new NUVEdbSQLData(name, entry.integers.front()));
    case ParameterKind::Double:
      return Adopt(new NUVEdbSQLData(name, entry.doubles.front()));
    case ParameterKind::String:
      return Adopt(new NUVEdbSQLData(name, Text(entry.texts.front()), 0));
    case ParameterKind::Object:
      return AddObject(entry);
    case ParameterKind::IntList:
      return Adopt(new NUVEdbSQLData(names, NumberList<NUVRawCollint>(entry.integers), condition));
    case ParameterKind::DoubleList:
      return Adopt(new NUVEdbSQLData(names, NumberList<NUVRawColldouble>(entry.doubles), condition));
    case ParameterKind::StringList:
      return Adopt(new NUVEdbSQLData(names, TextList(entry.texts), condition));
    case ParameterKind::ObjectList:
      return AddObjectList(entry);
  }
}

NUVRef<NUVIEdbSysObject> QueryParameters::FindObject(const ParameterOption& entry,
                                                     const std::string& key) const {
  if (host_.KeyAttribute(entry.classType).empty()) {
    throw Failure(kDatabaseError,
                  entry.label + ": " + entry.classType + " is not a table with a one-column key");
  }
  NUVRef<NUVIEdbSysObject> object;
  const long code = host_.Query()->GetObjectFromKey(Text(entry.classType), Text(key), object.out());
  if (code >= 0 && object) return object;
  const std::string refusal = RecordedMessage(code, "");
  if (!refusal.empty()) throw Failure(kDatabaseError, entry.label + ": " + refusal);
  throw Failure(kDatabaseError, entry.label + ": no " + entry.classType + " with key '" + key + "'");
}

void QueryParameters::AddObject(const ParameterOption& entry) {
  const NUVRef<NUVIEdbSysObject> object = FindObject(entry, entry.texts.front());
  Adopt(new NUVEdbSQLData(Text(entry.names.front()), object.get()));
}

void QueryParameters::AddObjectList(const ParameterOption& entry) {
  const auto objects = NUVAdopt(new NUVIUnknownListImpl);
  if (!objects) OutOfMemory();
  for (const std::string& key : entry.texts) {
    const NUVRef<NUVIEdbSysObject> object = FindObject(entry, key);
    unsigned int count = 0;
    objects->Count(&count);
    if (objects->Add(count, object.get()) < 0) OutOfMemory();
  }
  const NUVIUnknownList* list = objects.get();
  Adopt(new NUVEdbSQLData(TextList(entry.names), list, Text(entry.condition)));
}
