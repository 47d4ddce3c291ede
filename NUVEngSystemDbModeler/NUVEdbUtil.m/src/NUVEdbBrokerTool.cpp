#include "NUVEdbBrokerTool.h"

#include <array>
#include <utility>
#include <vector>

#include "NUVEdbFieldAccess.h"
#include "NUVEdbFinishedText.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdbGuarded.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTabHdr.h"
#include "NUVEdbResultTable.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"
#include "NUVRefList.h"
#include "NUVToken.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbBrokerTool"};

NUVUnicodeString Quoted(const NUVUnicodeString& text, const char* closing) {
  NUVUnicodeString quoted("'");
  quoted += text;
  quoted += closing;
  return quoted;
}

NUVUnicodeString NumberText(int value) { return NUVUnicodeString().BuildFromNum(value, "%d"); }
NUVUnicodeString NumberText(double value) { return NUVUnicodeString().BuildFromNum(value, "%g"); }

// The key of the object that a typed value holds, asked for its
// system-object interface; the reference is released before the answer.
long StoredObjectKey(NUVEdbBrokerTool& broker, const NUVEdbAnyData& value, NUVUnicodeString& key) {
  NUVRef<NUVIEdbSysObject> object;
  const long fetched = value.GetData(IID_NUVIEdbSysObject, object.out_void());
  if (fetched < 0 || !object) return kSource.Failure();
  return broker.GetKey(object.get(), key);
}

// The value text of a scalar parameter as it stands in a statement; false
// when the value cannot be read.
bool StatementValueText(const NUVEdbSQLData& parameter, NUVEdbObjAttrType type, NUVUnicodeString& text) {
  switch (type) {
    case EdbTypeInteger: {
      int value = 0;
      if (parameter.GetData(value) < 0) return false;
      text = NumberText(value);
      return true;
    }
    case EdbTypeDouble: {
      double value = 0;
      if (parameter.GetData(value) < 0) return false;
      text = NumberText(value);
      return true;
    }
    default: {
      NUVUnicodeString value;
      if (parameter.GetData(value, 0) < 0) return false;
      text = Quoted(value, "'");
      return true;
    }
  }
}

// One item of a list parameter: its name and value text.
struct ListItem {
  long fetched;  // the code of the item's fetch
  long failure;  // negative when the item cannot be written
  NUVUnicodeString name;
  NUVUnicodeString text;
};

ListItem ReadListItem(NUVEdbBrokerTool& broker, const NUVEdbSQLData& parameter, NUVEdbObjAttrType type,
                      int k) {
  ListItem item{0, 0, {}, {}};
  switch (type) {
    case EdbTypeIntegerList: {
      int value = 0;
      item.fetched = parameter.GetListDataByItemNb(k, item.name, value);
      if (item.fetched >= 0) item.text = NumberText(value);
      break;
    }
    case EdbTypeDoubleList: {
      double value = 0;
      item.fetched = parameter.GetListDataByItemNb(k, item.name, value);
      if (item.fetched >= 0) item.text = NumberText(value);
      break;
    }
    case EdbTypeStringList: {
      NUVUnicodeString value;
      item.fetched = parameter.GetListDataByItemNb(k, item.name, value, 0);
      if (item.fetched >= 0) item.text = Quoted(value, "'");
      break;
    }
    default: {
      NUVRef<NUVIEdbSysObject> object;
      item.fetched = parameter.GetListDataByItemNb(k, item.name, IID_NUVIEdbSysObject, object.out_void());
      if (item.fetched < 0) break;
      item.failure = object ? broker.GetKey(object.get(), item.text) : kSource.Failure();
      return item;
    }
  }
  item.failure = item.fetched;
  return item;
}

// The word between the items of a list with a condition.
NUVUnicodeString JoiningWord(const NUVUnicodeString& condition) {
  if (condition == "|" || condition == "!" || condition == "%") {
    NUVUnicodeString word("^");
    word += condition;
    word += "^";
    return word;
  }
  return condition;
}

// The form in which a value of the type stands in a statement.
NUVEdbWrittenValue::Form WrittenForm(NUVEdbObjAttrType type) {
  switch (type) {
    case EdbTypeInteger:
    case EdbTypeIntegerList:
    case EdbTypeDouble:
    case EdbTypeDoubleList:
      return NUVEdbWrittenValue::Form::Number;
    case EdbTypeString:
    case EdbTypeStringList:
      return NUVEdbWrittenValue::Form::String;
    default:
      return NUVEdbWrittenValue::Form::Key;
  }
}

// Substitutes the items of one list parameter: each item's name by its
// value text, or, with a condition, the parameter's name by the expression
// " ( " name value " word " name value ... " ) ". An item whose fetch fails
// is left out, and the first such failure is the answer. An object item
// without a pointer or a key is not substituted; without a condition that
// is no failure (the fetch's code stands), with one it is answered like a
// failed fetch.
long SubstituteList(NUVEdbBrokerTool& broker, const NUVEdbSQLData& parameter, NUVEdbObjAttrType type,
                    NUVEdbFinishedText& result) {
  int count = 0;
  long code = parameter.GetListSize(count);
  if (code < 0 || count <= 0) return code;
  NUVUnicodeString condition;
  code = parameter.GetParmCondition(condition);
  const bool joined = !condition.HasNoCharacter();
  const NUVUnicodeString word = JoiningWord(condition);
  const NUVEdbWrittenValue::Form form = WrittenForm(type);
  NUVUnicodeString expression;
  std::vector<NUVEdbWrittenValue> items;  // where each item's value text stands in the expression
  NUVUnicodeString name;
  long leftOut = 0;
  for (int k = 1; k <= count; ++k) {
    ListItem item = ReadListItem(broker, parameter, type, k);
    code = item.fetched;
    if (item.failure < 0) {
      const bool keyMissingOnly = item.fetched >= 0 && !joined;
      if (!keyMissingOnly && leftOut >= 0) leftOut = item.failure;
      continue;
    }
    if (!joined) {
      result.Replace(item.name, item.text, form, true);
      continue;
    }
    if (expression.HasNoCharacter()) {
      expression = " ( ";
    } else {
      expression += " ";
      expression += word;
      expression += " ";
    }
    expression += " ";
    expression += item.name;
    NUVEdbWrittenValue written;
    written.begin = expression.View().size();
    written.length = item.text.View().size();
    written.form = form;
    written.listItem = true;
    items.push_back(std::move(written));
    expression += item.text;
    name = item.name;
  }
  if (joined && !expression.HasNoCharacter()) {
    expression += " ) ";
    for (NUVEdbWrittenValue& item : items) item.parameter = std::string(name.View());
    result.Replace(name, expression, items);
  }
  return leftOut < 0 ? leftOut : code;
}

// Substitutes one parameter whose type answered code; returns the running
// code after it.
long SubstituteParameter(NUVEdbBrokerTool& broker, const NUVEdbSQLData& parameter, NUVEdbObjAttrType type,
                         long code, NUVEdbFinishedText& result) {
  NUVUnicodeString name;
  NUVUnicodeString text;
  switch (type) {
    case EdbTypeInteger:
    case EdbTypeDouble:
    case EdbTypeString:
      if (parameter.GetParmName(name) >= 0 && StatementValueText(parameter, type, text)) {
        result.Replace(name, text, WrittenForm(type), false);
      }
      return code;
    case EdbTypeObject: {
      if (parameter.GetParmName(name) < 0) return code;
      NUVRef<NUVIEdbSysObject> object;
      if (parameter.GetData(IID_NUVIEdbSysObject, object.out_void()) < 0 || !object) return code;
      code = broker.GetKey(object.get(), text);
      if (code >= 0) result.Replace(name, text, NUVEdbWrittenValue::Form::Key, false);
      return code;
    }
    case EdbTypeIntegerList:
    case EdbTypeDoubleList:
    case EdbTypeStringList:
    case EdbTypeObjectList:
      return SubstituteList(broker, parameter, type, result);
    default:
      return code;
  }
}

// The value text of one assignment of an input definition; empty when the
// value cannot be read or the type has none.
NUVUnicodeString AssignmentValueText(NUVEdbBrokerTool& broker, const NUVEdbSQLData& parameter,
                                     NUVEdbObjAttrType type) {
  NUVUnicodeString text;
  switch (type) {
    case EdbTypeInteger:
    case EdbTypeDouble:
      StatementValueText(parameter, type, text);
      break;
    case EdbTypeString: {
      NUVUnicodeString value;
      if (parameter.GetData(value, 0) >= 0) text = Quoted(value, "' ");
      break;
    }
    case EdbTypeObject: {
      NUVUnicodeString key;
      if (StoredObjectKey(broker, parameter, key) >= 0) text = Quoted(key, "' ");
      break;
    }
    default:
      break;
  }
  return text;
}

// Appends ", " before every item but the first that a call writes.
class JoinedText {
 public:
  explicit JoinedText(NUVUnicodeString& text) : text_(text) {}
  NUVUnicodeString& Next() {
    if (written_) text_ += ", ";
    written_ = true;
    return text_;
  }

 private:
  NUVUnicodeString& text_;
  bool written_ = false;
};

// What a binding says about where a value goes.
struct BindingTarget {
  NUVUnicodeString attrName;
  NUVUnicodeString classType;
  NUVEdbObjAttrType type = EdbTypeNone;
};

// The binding's attribute name, class type and type; false when the entry is
// not a binding or one of them cannot be read.
bool ReadBinding(const NUVBaseUnknown* entry, BindingTarget& target) {
  if (!nuvedb::IsKindOf<NUVEdbOutputData>(entry)) return false;
  const auto& binding = static_cast<const NUVEdbOutputData&>(*entry);
  return binding.GetAttrName(target.attrName) >= 0 && binding.GetAttrType(target.type) >= 0 &&
         binding.GetClassType(target.classType) >= 0;
}

// One binding that can receive a cell, read once per call: its names are
// the binding's own, which the call does not change.
// Plain data (the name's bytes as pointer and size), so that room for
// many costs nothing to set up.
struct BindingView {
  NUVEdbOutputData* binding;
  const char* attrName;
  size_t attrNameSize;
  const NUVUnicodeString* classType;
  NUVEdbObjAttrType type;

  std::string_view AttrName() const { return {attrName, attrNameSize}; }
};

// The bindings of the list that can receive a cell, in list order, as
// ReadBinding would accept them; up to sixteen without touching the heap.
class BindingViews {
 public:
  explicit BindingViews(const NUVListPtrNUVBaseUnknown& bindings) {
    const int size = bindings.Size();
    BindingView* out = near_.data();
    if (static_cast<size_t>(size) > near_.size()) {
      spill_.resize(static_cast<size_t>(size));
      out = spill_.data();
    }
    first_ = out;
    for (NUVBaseUnknown* entry : bindings) {
      if (!nuvedb::IsKindOf<NUVEdbOutputData>(entry)) continue;
      auto& binding = static_cast<NUVEdbOutputData&>(*entry);
      const NUVUnicodeString& attrName = NUVEdbFieldAccess::AttrName(binding);
      const std::string_view name = attrName.View();
      const NUVUnicodeString& classType = NUVEdbFieldAccess::ClassType(binding);
      if (!nuvedb::HasCharacter(attrName, name) || !nuvedb::HasCharacter(classType)) continue;
      *out++ = BindingView{&binding, name.data(), name.size(), &classType, NUVEdbFieldAccess::Type(binding)};
    }
    last_ = out;
  }
  const BindingView* begin() const { return first_; }
  const BindingView* end() const { return last_; }

 private:
  std::array<BindingView, 16> near_;
  std::vector<BindingView> spill_;
  const BindingView* first_ = nullptr;
  const BindingView* last_ = nullptr;
};

// Appends one object per "+"-separated key that the handle makes, creating
// the list at the first; answers the last creation's code, or the failure
// code when the text holds no key.
long AppendVolatileObjects(NUVIEdbDatabaseHandle& handle, const NUVUnicodeString& classType,
                           const NUVUnicodeString& keys, NUVIUnknownList*& list) {
  long code = kSource.Failure();
  NUVToken tokens(keys);
  unsigned int position = 0;
  if (unsigned int count = 0; list && list->Count(&count) >= 0) position = count;
  for (NUVUnicodeString key = tokens.GetNextToken("+"); !key.HasNoCharacter();
       key = tokens.GetNextToken("+")) {
    key.Strip(3, NUVUnicodeChar(' '));
    NUVRef<IUnknown> object;
    code = handle.CreateVolatileObject(classType, key, object.out());
    if (code < 0 || !object) continue;
    if (!list) list = nuvedb::NewUnknownList();
    if (list && list->Add(position, object.get()) >= 0) ++position;
  }
  return code;
}

}  // namespace

NUVEdbBrokerTool::~NUVEdbBrokerTool() = default;

long NUVEdbBrokerTool::PreProcessSQLStatement(const NUVUnicodeString& statement,
                                              const NUVListPtrNUVBaseUnknown& parameters,
                                              NUVUnicodeString& result) {
  if (statement.HasNoCharacter()) return kSource.Success();
  result = statement;
  NUVEdbFinishedText finished(result);
  const long answer = nuvedb::GuardedCode(kSource, [&] {
    long code = kSource.Success();
    for (int i = 1; i <= parameters.Size(); ++i) {
      if (!nuvedb::IsKindOf<NUVEdbSQLData>(parameters[i])) continue;
      const auto& parameter = static_cast<const NUVEdbSQLData&>(*parameters[i]);
      NUVEdbObjAttrType type = EdbTypeNone;
      code = parameter.GetType(type);
      if (code < 0) return code;
      code = SubstituteParameter(*this, parameter, type, code, finished);
      if (code < 0) return code;
    }
    return code;
  });
  // Whatever the answer, the hosts learn which parts of the text are the
  // library's, so that the author's own literals run as written.
  finished.Record();
  return answer;
}

long NUVEdbBrokerTool::GetKey(const NUVIEdbSysObject* object, NUVUnicodeString& key) {
  if (!object) return kSource.Failure();
  return object->GetObjectKey(key);
}

// The name is taken by value: that is the operation's published signature.
NUVEdbObjAttrType NUVEdbBrokerTool::TranslateMetaTypeToEdb(
    NUVUnicodeString metaType) {  // NOLINT(performance-unnecessary-value-param)
  if (metaType == "Integer" || metaType == "Uuid") return EdbTypeInteger;
  if (metaType == "Double") return EdbTypeDouble;
  if (metaType == "String") return EdbTypeString;
  return EdbTypeNone;
}

long NUVEdbBrokerTool::ExtractInputDefinition(const NUVListPtrNUVBaseUnknown& parameters,
                                              NUVUnicodeString& text) {
  if (parameters.Size() < 1) return kSource.Failure();
  JoinedText joined(text);
  return nuvedb::GuardedCode(kSource, [&] {
    for (int i = 1; i <= parameters.Size(); ++i) {
      if (!nuvedb::IsKindOf<NUVEdbSQLData>(parameters[i])) continue;
      const auto& parameter = static_cast<const NUVEdbSQLData&>(*parameters[i]);
      NUVUnicodeString name;
      NUVEdbObjAttrType type = EdbTypeNone;
      if (parameter.GetParmName(name) < 0 || parameter.GetType(type) < 0) continue;
      const NUVUnicodeString value = AssignmentValueText(*this, parameter, type);
      NUVUnicodeString& out = joined.Next();
      out += name;
      out += " = ";
      out += value;
    }
    return kSource.Success();
  });
}

long NUVEdbBrokerTool::ExtractInputDefinition(const NUVListPtrNUVBaseUnknown& bindings,
                                              NUVListPtrNUVBaseUnknown& headers, NUVUnicodeString& text) {
  if (bindings.Size() < 1) return kSource.Failure();
  JoinedText joined(text);
  return nuvedb::GuardedCode(kSource, [&] {
    for (int i = 1; i <= bindings.Size(); ++i) {
      BindingTarget binding;
      if (!ReadBinding(bindings[i], binding)) continue;
      auto* header = new NUVEdbResultTabHdr(binding.classType, binding.attrName, binding.type);
      if (!header) continue;
      headers.Append(header);
      joined.Next() += binding.attrName;
    }
    return kSource.Success();
  });
}

long NUVEdbBrokerTool::CreateVolatileObjectList(const NUVUnicodeString& classType,
                                                const NUVUnicodeString& keyName, const NUVUnicodeString& keys,
                                                NUVIUnknownList*& list) {
  if (keyName.HasNoCharacter()) return kSource.Failure();
  NUVRef<NUVIEdbDatabaseHandle> handle;  // released after the body, even when it raises
  return nuvedb::GuardedCode(kSource, [&] {
    if (NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void()) < 0 ||
        !handle) {
      return kSource.Failure();
    }
    return AppendVolatileObjects(*handle.get(), classType, keys, list);
  });
}

namespace {

// Writes one matched cell to its binding as the binding's type says. A
// value is written only when the cell holds that very type, as the cell's
// typed getters answer.
void WriteCell(NUVEdbBrokerTool& broker, const NUVEdbResultTabData& cell, const BindingView& target,
               const NUVIEdbSysQuery2& query, NUVEdsMetadataTool& metadata) {
  const NUVEdbObjAttrType cellType = NUVEdbFieldAccess::Type(cell);
  NUVEdbOutputData& binding = *target.binding;
  switch (target.type) {
    case EdbTypeInteger:
      if (cellType == EdbTypeInteger) binding.SetValue(NUVEdbFieldAccess::Integer(cell));
      return;
    case EdbTypeDouble:
      if (cellType == EdbTypeDouble) binding.SetValue(NUVEdbFieldAccess::Double(cell));
      return;
    case EdbTypeString:
    case EdbTypeObject:
    case EdbTypeObjectList:
      break;
    default:
      return;
  }
  if (cellType != EdbTypeString && cellType != EdbTypeEncodedString) return;
  // The cell's text as GetData with the decode flag gives it: encoded
  // strings as stored, strings decoded.
  const NUVUnicodeString& stored = NUVEdbFieldAccess::StoredText(cell);
  if (target.type == EdbTypeString) {
    // Only a bound string variable sees the text: decode straight into it.
    NUVUnicodeString* variable = NUVEdbFieldAccess::StringTarget(binding);
    if (!variable) return;
    if (cellType == EdbTypeString) {
      NUVEdsGeneralTool().DecodeBlanks(stored, *variable);  // in the variable's own room
    } else {
      *variable = stored;
    }
    return;
  }
  const NUVUnicodeString text = cellType == EdbTypeString ? nuvedb::DecodedText(stored) : stored;
  if (target.type == EdbTypeObject) {
    NUVRef<NUVIEdbSysObject> object;
    if (query.GetObjectFromKey(*target.classType, text, object.out()) >= 0 && object)
      binding.SetValue(object.get());
    return;
  }
  NUVRef<NUVIUnknownList> list;
  const NUVUnicodeString keyName = metadata.GetPrimaryKey(*target.classType);
  if (broker.CreateVolatileObjectList(*target.classType, keyName, text, *list.out()) >= 0 && list) {
    binding.SetValue(list.get());
  }
}

// The cell when the entry is a cell with a type other than EdbTypeNone, an
// attribute name and a class type, as its getters would answer; else null.
// name is then the cell's attribute name.
const NUVEdbResultTabData* ReadableCell(const NUVBaseUnknown* entry, std::string_view& name) {
  if (!nuvedb::IsKindOf<NUVEdbResultTabData>(entry)) return nullptr;
  const auto& cell = static_cast<const NUVEdbResultTabData&>(*entry);
  const NUVUnicodeString& attrName = NUVEdbFieldAccess::AttrName(cell);
  name = attrName.View();
  if (NUVEdbFieldAccess::Type(cell) == EdbTypeNone || !nuvedb::HasCharacter(attrName, name) ||
      !nuvedb::HasCharacter(NUVEdbFieldAccess::ClassType(cell))) {
    return nullptr;
  }
  return &cell;
}

// The list a row's cells are fetched into. Its storage is kept for the
// thread's next call, so that fetching a row allocates nothing; a call made
// while another is running on the same thread starts with storage of its
// own. The cells' references are released when it goes, on every path.
class RowCells {
 public:
  RowCells() { std::swap(cells_.get(), Spare()); }
  RowCells(const RowCells&) = delete;
  RowCells& operator=(const RowCells&) = delete;
  ~RowCells() {
    cells_.Clear(NUVCollec::KeepMemory);
    std::swap(cells_.get(), Spare());
  }
  NUVListPtrNUVBaseUnknown& get() { return cells_.get(); }

 private:
  static NUVListPtrNUVBaseUnknown& Spare();
  NUVRefList cells_;
};

// In the initial-exec model (the library's build sets it), as the
// platform's own thread state.
thread_local NUVListPtrNUVBaseUnknown spareRowCells;

NUVListPtrNUVBaseUnknown& RowCells::Spare() { return spareRowCells; }

// The metadata tool with a reference; opens no frame.
NUVEdsMetadataTool* ObtainMetadataTool() {
  NUVEdbGeneralTool general;
  return general.GetMetadataTool();
}

}  // namespace

long NUVEdbBrokerTool::ExtractOutput(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& bindings,
                                     const NUVIEdbSysQuery2* query, int n) {
  long code = kSource.Failure();
  int rows = 0;
  table.GetNumberOfRows(rows);
  if (!query || bindings.Size() < 1 || rows < 1 || n < 1 || n > rows) return code;
  NUVRef<NUVEdsMetadataTool> metadata;
  *metadata.out() = ObtainMetadataTool();
  if (!metadata) return code;
  RowCells cells;
  return nuvedb::GuardedCode(kSource, [&] {
    NUVListPtrNUVBaseUnknown& row = cells.get();
    if (table.GetRow(n, row) < 0) return kSource.Failure();
    // Each binding is read once; writing a value leaves its names and type alone.
    const BindingViews targets(bindings);
    long written = kSource.Failure();
    for (const NUVBaseUnknown* entry : std::as_const(row)) {
      std::string_view name;
      const NUVEdbResultTabData* cell = ReadableCell(entry, name);
      if (!cell) continue;
      for (const BindingView& target : targets) {
        if (!nuvedb::SameText(target.AttrName(), name)) continue;
        WriteCell(*this, *cell, target, *query, *metadata.get());
        written = kSource.Success();
        break;
      }
    }
    return written;
  });
}

long NUVEdbBrokerTool::ExtractOutput(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& bindings,
                                     const NUVIEdbSysQuery2* query, const NUVIEdbSysObject* object) {
  long code = kSource.Failure();
  int rows = 0;
  table.GetNumberOfRows(rows);
  if (!query || bindings.Size() < 1 || rows < 1) return code;
  const int n = object ? FindRowNumber(object, table, rows) : 1;
  if (n < 1 || n > rows) return code;
  return nuvedb::GuardedCode(kSource, [&] { return ExtractOutput(table, bindings, query, n); });
}

int NUVEdbBrokerTool::FindRowNumber(const NUVIEdbSysObject* object, NUVEdbResultTable& table, int count) {
  if (!object || count < 1) return 0;
  NUVRefList cells;  // released after the tool
  NUVRef<NUVEdsMetadataTool> metadata;
  *metadata.out() = ObtainMetadataTool();
  if (!metadata) return 0;
  int found = 0;
  nuvedb::Guarded([&] {
    NUVUnicodeString classType;
    NUVUnicodeString key;
    if (object->GetObjectClassType(classType) < 0 || object->GetObjectKey(key) < 0) return;
    const NUVUnicodeString keyName = metadata->GetPrimaryKey(classType);
    NUVEdbObjAttrType type = EdbTypeNone;
    if (table.GetColumn(keyName, type, cells.get()) < 0) return;
    for (int i = 1; i <= cells.Size(); ++i) {
      if (!nuvedb::IsKindOf<NUVEdbResultTabData>(cells.get()[i])) continue;
      NUVUnicodeString text;
      if (static_cast<const NUVEdbResultTabData&>(*cells.get()[i]).GetData(text, 1) >= 0 && text == key) {
        found = i;
        return;
      }
    }
  });
  metadata.Reset();
  return found;
}
