#pragma once
#include "NUVEdbAnyData.h"

// A named parameter of a parameterised SQL statement: a typed value and the
// name under which it is substituted. A list parameter carries one name per
// value and a condition text. Names and the condition are stored unchanged.
class NUVEDBUTIL_API NUVEdbSQLData : public NUVEdbAnyData {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbSQLData)

 public:
  // @{
  // A scalar parameter: the name and a value built as NUVEdbAnyData's
  // constructor of the same argument builds it.
  NUVEdbSQLData(const NUVUnicodeString& name, int value);
  NUVEdbSQLData(const NUVUnicodeString& name, const float& value);
  NUVEdbSQLData(const NUVUnicodeString& name, const double& value);
  NUVEdbSQLData(const NUVUnicodeString& name, const NUVUnicodeString& value, const unsigned char& keepEncoded);
  NUVEdbSQLData(const NUVUnicodeString& name, const IUnknown* value);
  // @}

  // @{
  // A list parameter: one name per value and the condition. With a
  // non-empty condition every item is named by the first name.
  NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawCollint& values,
                const NUVUnicodeString& condition);
  NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawCollfloat& values,
                const NUVUnicodeString& condition);
  NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVRawColldouble& values,
                const NUVUnicodeString& condition);
  NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVListValNUVUnicodeString& values,
                const NUVUnicodeString& condition);
  NUVEdbSQLData(const NUVListValNUVUnicodeString& names, const NUVIUnknownList* values,
                const NUVUnicodeString& condition);
  // @}

  // @{
  // Copies the names and the condition and shares the value as
  // NUVEdbAnyData's copy does.
  NUVEdbSQLData(const NUVEdbSQLData& other) = default;
  NUVEdbSQLData& operator=(const NUVEdbSQLData& other) = default;
  // @}
  ~NUVEdbSQLData() override;

  // Fails when the name is empty (always for a list parameter).
  long GetParmName(NUVUnicodeString& name) const;
  // Name n, from 1; fails for a scalar parameter.
  long GetParmName(int n, NUVUnicodeString& name) const;
  // The condition, empty or not; always succeeds.
  long GetParmCondition(NUVUnicodeString& condition) const;

  // @{
  // The name and value of list item n. The name is written when it exists,
  // even when reading the value then fails.
  long GetListDataByItemNb(int n, NUVUnicodeString& name, int& value) const;
  long GetListDataByItemNb(int n, NUVUnicodeString& name, float& value) const;
  long GetListDataByItemNb(int n, NUVUnicodeString& name, double& value) const;
  long GetListDataByItemNb(int n, NUVUnicodeString& name, NUVUnicodeString& value,
                           const unsigned char& decode) const;
  long GetListDataByItemNb(int n, NUVUnicodeString& name, const GUID& iid, void** out) const;
  // @}

 private:
  void LoadListOfParmName(const NUVListValNUVUnicodeString& names);
  template <class... Value>
  long ListItem(int n, NUVUnicodeString& name, Value&&... value) const;

  NUVUnicodeString name_;
  NUVListValNUVUnicodeString names_;
  NUVUnicodeString condition_;
};
