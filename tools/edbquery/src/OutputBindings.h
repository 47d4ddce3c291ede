#pragma once
#include <memory>
#include <string>
#include <vector>

#include "CellValue.h"
#include "NUVEdbObjAttrType.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVRefList.h"
#include "NUVUnicodeString.h"
#include "Options.h"

class NUVEdbBrokerTool;
class NUVEdbResultTable;
class NUVIEdbSysObject;
class NUVIEdbSysQuery2;
class NUVIUnknownList;
class RowCells;

// The output bindings of a statement, the variables they write and the
// column headers derived from them. Holds one reference on each binding and
// header and releases them, and whatever object or list the variables hold.
class OutputBindings {
 public:
  explicit OutputBindings(const std::vector<OutputOption>& requested);
  ~OutputBindings();
  OutputBindings(const OutputBindings&) = delete;
  OutputBindings& operator=(const OutputBindings&) = delete;

  bool Empty() const { return variables_.empty(); }
  // The attribute names, in the order given.
  std::vector<std::string> ColumnNames() const;
  // Derives one header per binding through the broker; returns the column
  // list text. Throws Failure when the broker refuses.
  std::string DeriveHeaders(NUVEdbBrokerTool& broker);
  const NUVListPtrNUVBaseUnknown& Headers() const { return headers_.get(); }
  // The first bound attribute that no cell of the table's first row
  // carries; empty when every one is there or the table has no row.
  std::string MissingColumn(const NUVEdbResultTable& table) const;
  // Extracts row n (from 1) into the variables and answers their values,
  // null where the row's cell is null or its object is not found. Throws
  // Failure naming the row (rowNumber in the whole answer) and column when
  // a cell's value cannot go into its binding without loss (2.7 or "abc"
  // for an int).
  std::vector<CellValue> ExtractRow(NUVEdbBrokerTool& broker, NUVEdbResultTable& table,
                                    const NUVIEdbSysQuery2* query, int n, int rowNumber);

 private:
  // One bound variable of every kind; the binding uses the one of its kind.
  struct Variable {
    OutputOption output;
    int integer = 0;
    double real = 0;
    NUVUnicodeString text;
    NUVIEdbSysObject* object = nullptr;  // one reference when not null
    NUVIUnknownList* list = nullptr;     // one reference when not null
  };

  static NUVBaseUnknown* Bind(Variable& variable);
  static void CheckDeliverable(const RowCells& cells, const OutputOption& output, int n);
  static NUVEdbObjAttrType ExpectedType(OutputKind kind);
  static void Clear(Variable& variable);
  static CellValue ValueOf(const Variable& variable);
  void ReleaseAll();

  std::vector<std::unique_ptr<Variable>> variables_;  // stable addresses for the bindings
  NUVRefList bindings_;
  NUVRefList headers_;
};
