#pragma once
#include "NUVBaseUnknown.h"
#include "NUVEdbObjAttrType.h"
#include "NUVEdbUtilExport.h"
#include "NUVIUnknownList.h"
#include "NUVListPtrNUVBaseUnknown.h"
#include "NUVUnicodeString.h"

class NUVEdbResultTable;
class NUVIEdbSysObject;
class NUVIEdbSysQuery2;

// The query broker: turns a statement and its named parameters into the
// finished text, describes a query's inputs and outputs, makes host objects
// from key lists and copies the rows of a result table into the caller's
// variables. The tool has no state; it is not registered and answers as
// the base object.
class NUVEDBUTIL_API NUVEdbBrokerTool : public NUVBaseUnknown {
 public:
  NUVEdbBrokerTool() = default;
  // @{
  // The tool has no state: copies are interchangeable.
  NUVEdbBrokerTool(const NUVEdbBrokerTool& other) = default;
  NUVEdbBrokerTool& operator=(const NUVEdbBrokerTool& other) = default;
  // @}
  ~NUVEdbBrokerTool() override;

  // Writes the statement with every parameter's name replaced by its value
  // text to result. An empty statement succeeds with result untouched.
  // Unusable entries are skipped; a failing type, list size, object key or
  // list item stops processing with its code, keeping the substitutions
  // made before. A list item that cannot be read is left out of the text.
  long PreProcessSQLStatement(const NUVUnicodeString& statement, const NUVListPtrNUVBaseUnknown& parameters,
                              NUVUnicodeString& result);
  // The object's key text and code; a null object fails, key untouched.
  long GetKey(const NUVIEdbSysObject* object, NUVUnicodeString& key);
  // The attribute type of a meta-type name: "Integer" and "Uuid" integer,
  // "Double" double, "String" string, anything else none.
  NUVEdbObjAttrType TranslateMetaTypeToEdb(NUVUnicodeString metaType);

  // Appends "name = value" for every scalar parameter, joined by ", ", to
  // text. Fails for an empty list.
  long ExtractInputDefinition(const NUVListPtrNUVBaseUnknown& parameters, NUVUnicodeString& text);
  // Appends one column header per usable binding to headers, each with its
  // creation reference for the caller, and their attribute names, joined by
  // ", ", to text. Fails for an empty list.
  long ExtractInputDefinition(const NUVListPtrNUVBaseUnknown& bindings, NUVListPtrNUVBaseUnknown& headers,
                              NUVUnicodeString& text);

  // Makes one host object of the class type per "+"-separated key through
  // the current database handle and adds them after the list's items,
  // creating the list (with one reference for the caller) when list is
  // null. Returns the last creation's code; fails for an empty key name, no
  // handle, or no key.
  long CreateVolatileObjectList(const NUVUnicodeString& classType, const NUVUnicodeString& keyName,
                                const NUVUnicodeString& keys, NUVIUnknownList*& list);

  // Copies the cells of row n (from 1) into the first binding of the same
  // attribute name each. Succeeds when a cell matched a binding.
  long ExtractOutput(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& bindings, const NUVIEdbSysQuery2* query,
                     int n);
  // The same for the row of the object (row 1 for a null object).
  long ExtractOutput(NUVEdbResultTable& table, NUVListPtrNUVBaseUnknown& bindings, const NUVIEdbSysQuery2* query,
                     const NUVIEdbSysObject* object);
  // The position, from 1, of the object's key in the column of its class's
  // key attribute; 0 when it is not found.
  int FindRowNumber(const NUVIEdbSysObject* object, NUVEdbResultTable& table, int count);
};
