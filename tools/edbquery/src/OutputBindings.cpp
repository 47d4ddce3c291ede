#include "OutputBindings.h"

#include <utility>

#include "Failure.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbOutputData.h"
#include "NUVEdbResultTabData.h"
#include "NUVEdbResultTable.h"
#include "NUVIEdbSysObject.h"
#include "NUVIUnknownList.h"
#include "NUVRef.h"
#include "RowCells.h"

namespace {

NUVUnicodeString Text(const std::string& text) { return NUVUnicodeString(std::string_view(text)); }

std::string KeyOf(const NUVIEdbSysObject& object) {
  NUVUnicodeString key;
  object.GetObjectKey(key);
  return std::string(key.View());
}

// The keys of the list's objects joined by "+".
std::string KeysOf(const NUVIUnknownList& list) {
  std::string keys;
  unsigned int count = 0;
  list.Count(&count);
  for (unsigned int i = 0; i < count; ++i) {
    NUVRef<IUnknown> item;
    NUVRef<NUVIEdbSysObject> object;
    if (list.Item(i, item.out()) < 0 || !item) continue;
    if (item->QueryInterface(IID_NUVIEdbSysObject, object.out_void()) < 0 || !object) continue;
    if (!keys.empty()) keys += '+';
    keys += KeyOf(*object.get());
  }
  return keys;
}

}  // namespace

OutputBindings::OutputBindings(const std::vector<OutputOption>& requested) {
  try {
    for (const OutputOption& entry : requested) {
      variables_.push_back(std::make_unique<Variable>());
      variables_.back()->output = entry;
      NUVBaseUnknown* binding = Bind(*variables_.back());
      if (!binding) throw Failure(kDatabaseError, "out of memory");
      bindings_.Adopt(binding);
    }
  } catch (...) {
    ReleaseAll();
    throw;
  }
}

OutputBindings::~OutputBindings() { ReleaseAll(); }

void OutputBindings::ReleaseAll() {
  bindings_.Clear();
  headers_.Clear();
  for (const auto& variable : variables_) Clear(*variable);
}

NUVBaseUnknown* OutputBindings::Bind(Variable& variable) {
  const NUVUnicodeString classType = Text(variable.output.classType);
  const NUVUnicodeString attrName = Text(variable.output.attrName);
  switch (variable.output.kind) {
    case OutputKind::Int:
      return new NUVEdbOutputData(classType, attrName, &variable.integer);
    case OutputKind::Double:
      return new NUVEdbOutputData(classType, attrName, &variable.real);
    case OutputKind::String:
      return new NUVEdbOutputData(classType, attrName, &variable.text);
    case OutputKind::Object:
      return new NUVEdbOutputData(classType, attrName, variable.object);
    case OutputKind::Objects:
      return new NUVEdbOutputData(classType, attrName, variable.list);
  }
  return nullptr;
}

void OutputBindings::Clear(Variable& variable) {
  variable.integer = 0;
  variable.real = 0;
  variable.text = NUVUnicodeString();
  if (variable.object) std::exchange(variable.object, nullptr)->Release();
  if (variable.list) std::exchange(variable.list, nullptr)->Release();
}

std::vector<std::string> OutputBindings::ColumnNames() const {
  std::vector<std::string> names;
  for (const auto& variable : variables_) names.push_back(variable->output.attrName);
  return names;
}

std::string OutputBindings::DeriveHeaders(NUVEdbBrokerTool& broker) {
  NUVUnicodeString columns;
  if (broker.ExtractInputDefinition(bindings_, headers_, columns) < 0) {
    throw Failure(kDatabaseError, "the column headers could not be derived from the output bindings");
  }
  return std::string(columns.View());
}

CellValue OutputBindings::ValueOf(const Variable& variable) {
  switch (variable.output.kind) {
    case OutputKind::Int:
      return CellValue::Integer(variable.integer);
    case OutputKind::Double:
      return CellValue::Double(variable.real);
    case OutputKind::String:
      return CellValue::Text(std::string(variable.text.View()));
    case OutputKind::Object:
      return variable.object ? CellValue::Text(KeyOf(*variable.object)) : CellValue::Null();
    case OutputKind::Objects:
      return variable.list ? CellValue::Text(KeysOf(*variable.list)) : CellValue::Null();
  }
  return CellValue::Null();
}

std::vector<CellValue> OutputBindings::ExtractRow(NUVEdbBrokerTool& broker, NUVEdbResultTable& table,
                                                  const NUVIEdbSysQuery2* query, int n, int rowNumber) {
  for (const auto& variable : variables_) Clear(*variable);
  const RowCells cells(table, n);
  for (const auto& variable : variables_) CheckDeliverable(cells, variable->output, rowNumber);
  // Fails when every bound cell of the row is null; the nulls print empty.
  broker.ExtractOutput(table, bindings_, query, n);
  std::vector<CellValue> values;
  for (const auto& variable : variables_) {
    values.push_back(cells.HasValue(variable->output.attrName) ? ValueOf(*variable) : CellValue::Null());
  }
  return values;
}

void OutputBindings::CheckDeliverable(const RowCells& cells, const OutputOption& output, int n) {
  static const char* const kTypeNames[] = {"int", "double", "string", "object", "objects"};
  for (int i = 1; i <= cells.Count(); ++i) {
    if (cells.AttrName(i) != output.attrName) continue;
    NUVEdbObjAttrType type = EdbTypeNone;
    if (cells.Cell(i) == nullptr || cells.Cell(i)->GetType(type) < 0 || type == EdbTypeNone) return;
    if (type == ExpectedType(output.kind)) return;
    throw Failure(kDatabaseError, "row " + std::to_string(n) + ", column " + output.attrName +
                                      ": the value " + cells.Value(i).text + " cannot be read as " +
                                      kTypeNames[static_cast<int>(output.kind)] + " without loss");
  }
}

NUVEdbObjAttrType OutputBindings::ExpectedType(OutputKind kind) {
  switch (kind) {
    case OutputKind::Int:
      return EdbTypeInteger;
    case OutputKind::Double:
      return EdbTypeDouble;
    default:
      break;
  }
  return EdbTypeString;
}

std::string OutputBindings::MissingColumn(const NUVEdbResultTable& table) const {
  const RowCells cells(table, 1);
  if (cells.Count() == 0) return {};
  for (const auto& variable : variables_) {
    bool found = false;
    for (int i = 1; i <= cells.Count() && !found; ++i) found = cells.AttrName(i) == variable->output.attrName;
    if (!found) return variable->output.attrName;
  }
  return {};
}
