#pragma once
#include <memory>

#include "NUVBaseUnknown.h"
#include "NUVEdbObjAttrType.h"
#include "NUVEdbUtilExport.h"
#include "NUVIUnknownList.h"
#include "NUVListValNUVUnicodeString.h"
#include "NUVRawColldouble.h"
#include "NUVRawCollfloat.h"
#include "NUVRawCollint.h"
#include "NUVUnicodeString.h"

// The typed value: a type tag and storage for every kind of value, of which
// the tag selects the one in use. No accessor converts between types.
// Strings are held blank-encoded. Result codes: 0 success, negative failure;
// a failing operation changes neither the value nor its out-argument unless
// its comment says so.
class NUVEDBUTIL_API NUVEdbAnyData : public NUVBaseUnknown {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbAnyData)

 public:
  NUVEdbAnyData();
  // @{
  // A value of the argument's type (EdbTypeInteger, EdbTypeFloat or
  // EdbTypeDouble). The integer and double constructors are inline: a host
  // builds a cell of one of them for most values of an answer.
  NUVEdbAnyData(int value) : integer_(value), type_(EdbTypeInteger) {}
  NUVEdbAnyData(const float& value);
  NUVEdbAnyData(const double& value) : double_(value), type_(EdbTypeDouble) {}
  // @}
  // Takes a reference on a non-null pointer.
  NUVEdbAnyData(const IUnknown* value);
  // A value of the given type that holds nothing yet.
  NUVEdbAnyData(const NUVEdbObjAttrType& type);
  // EdbTypeEncodedString when keepEncoded is non-zero, else EdbTypeString.
  NUVEdbAnyData(const NUVUnicodeString& value, const unsigned char& keepEncoded);
  // @{
  // A list value of the argument's type holding the source's items, as
  // the matching SetData stores them.
  NUVEdbAnyData(const NUVRawCollint& values);
  NUVEdbAnyData(const NUVRawCollfloat& values);
  NUVEdbAnyData(const NUVRawColldouble& values);
  NUVEdbAnyData(const NUVListValNUVUnicodeString& values);
  NUVEdbAnyData(const NUVIUnknownList* values);
  // @}
  // @{
  // Shares the interface pointer and list, each with a reference of its own.
  NUVEdbAnyData(const NUVEdbAnyData& other);
  NUVEdbAnyData& operator=(const NUVEdbAnyData& other);
  // @}
  ~NUVEdbAnyData() override;

  // Writes the type tag; always succeeds.
  long GetType(NUVEdbObjAttrType& type) const;
  // Accepts any value; keeps every stored value.
  long SetType(const NUVEdbObjAttrType& type);

  // @{
  // Read or replace the scalar value; fail, changing nothing, unless the
  // tag is the argument's type.
  long GetData(int& value) const;
  long GetData(float& value) const;
  long GetData(double& value) const;
  long SetData(const int& value);
  long SetData(const float& value);
  long SetData(const double& value);
  // @}
  // Fails on null or a tag other than EdbTypeObject; replaces the held pointer.
  long SetData(const IUnknown* value);
  // Sets *out to null first (unless out is null), then answers the held
  // object's own QueryInterface code.
  long GetData(const GUID& iid, void** out) const;

  // Decodes an EdbTypeString value when decode is non-zero; an
  // EdbTypeEncodedString value is never decoded.
  long GetData(NUVUnicodeString& value, const unsigned char& decode) const;
  // Stores the text blank-encoded; fails unless the tag is EdbTypeString
  // or EdbTypeEncodedString.
  long SetData(const NUVUnicodeString& value);

  // Writes 0 first, then the size of the list the tag selects.
  long GetListSize(int& size) const;
  // @{
  // Item n of the list, numbered from 1; fails unless the tag is the list
  // of the argument's type and n names an item. A string item is decoded
  // when decode is non-zero.
  long GetData(int n, int& value) const;
  long GetData(int n, float& value) const;
  long GetData(int n, double& value) const;
  long GetData(int n, NUVUnicodeString& value, const unsigned char& decode) const;
  // @}
  // Leaves *out alone unless the item's QueryInterface writes it.
  long GetData(int n, const GUID& iid, void** out) const;

  // @{
  // Append the source's items; fail for an empty source or another tag.
  // These raise platform errors to the caller.
  long SetData(const NUVRawCollint& values);
  long SetData(const NUVRawCollfloat& values);
  long SetData(const NUVRawColldouble& values);
  long SetData(const NUVListValNUVUnicodeString& values);
  // @}
  // Replaces the held interface list by a new one with the source's
  // non-null items; fails when none could be added.
  long SetData(const NUVIUnknownList* values);

  // The text in blank-encoded form, with no blank and no apostrophe left
  // (as NUVEdsGeneralTool encodes it).
  static NUVUnicodeString EncodeBlanks(const NUVUnicodeString& text);
  // The original of a blank-encoded text; a text that is not a valid
  // encoding comes back unchanged.
  static NUVUnicodeString DecodeBlanks(const NUVUnicodeString& text);

 private:
  friend class NUVEdbResultTableBuilder;  // stores text that arrives encoded
  friend class NUVEdbFieldAccess;         // the library's own fast reads
  struct Lists;                           // the four collections, allocated when a list is first stored
  // Deletes the collections where they are complete, so that inline
  // constructors need not see them.
  struct ListsDeleter {
    void operator()(Lists* lists) const;
  };
  using ListsPtr = std::unique_ptr<Lists, ListsDeleter>;
  Lists& EnsureLists();

  int integer_ = 0;
  float float_ = 0.0F;
  double double_ = 0.0;
  NUVUnicodeString string_;  // blank-encoded
  NUVEdbObjAttrType type_ = EdbTypeNone;
  IUnknown* interface_ = nullptr;  // holds one reference when not null
  ListsPtr lists_;
  NUVIUnknownList* interfaceList_ = nullptr;  // holds one reference when not null
};
