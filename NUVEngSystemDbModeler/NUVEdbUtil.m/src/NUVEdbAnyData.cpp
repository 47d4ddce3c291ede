#include "NUVEdbAnyData.h"

#include "NUVEdbGuarded.h"
#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"
#include "NUVEdsGeneralTool.h"
#include "NUVRef.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbAnyData"};

template <class T>
void Replace(T*& slot, T* incoming) {
  if (incoming) incoming->AddRef();  // first, so that self-assignment keeps the object
  if (slot) slot->Release();
  slot = incoming;
}

template <class T>
void ReleaseAndNull(T*& slot) {
  if (slot) slot->Release();
  slot = nullptr;
}

// Item n (from 1) of a collection, or false when n is outside it.
template <class List, class T>
bool ItemOf(const List& list, int n, T& value) {
  if (n < 1 || n > list.Size()) return false;
  value = list[n];
  return true;
}

template <class List>
bool AppendAll(List& target, const List& source) {
  if (source.Size() < 1) return false;
  for (int i = 1; i <= source.Size(); ++i) target.Append(source[i]);
  return true;
}
}  // namespace

struct NUVEdbAnyData::Lists {
  NUVRawCollint integers{0};
  NUVRawCollfloat floats{0};
  NUVRawColldouble doubles{0};
  NUVListValNUVUnicodeString strings{0};
};

NUVEDB_DEFINE_CLASS_INFO(NUVEdbAnyData, NUVBaseUnknown)

void NUVEdbAnyData::ListsDeleter::operator()(Lists* lists) const { delete lists; }

NUVEdbAnyData::NUVEdbAnyData() = default;
NUVEdbAnyData::NUVEdbAnyData(const float& value) : float_(value), type_(EdbTypeFloat) {}
NUVEdbAnyData::NUVEdbAnyData(const IUnknown* value) : type_(EdbTypeObject) {
  // The value holds its own reference on what the caller lends.
  Replace(interface_, const_cast<IUnknown*>(value));
}
NUVEdbAnyData::NUVEdbAnyData(const NUVEdbObjAttrType& type) : type_(type) {}
NUVEdbAnyData::NUVEdbAnyData(const NUVUnicodeString& value, const unsigned char& keepEncoded)
    : string_(EncodeBlanks(value)), type_(keepEncoded ? EdbTypeEncodedString : EdbTypeString) {}
NUVEdbAnyData::NUVEdbAnyData(const NUVRawCollint& values) : type_(EdbTypeIntegerList) { SetData(values); }
NUVEdbAnyData::NUVEdbAnyData(const NUVRawCollfloat& values) : type_(EdbTypeFloatList) { SetData(values); }
NUVEdbAnyData::NUVEdbAnyData(const NUVRawColldouble& values) : type_(EdbTypeDoubleList) { SetData(values); }
NUVEdbAnyData::NUVEdbAnyData(const NUVListValNUVUnicodeString& values) : type_(EdbTypeStringList) {
  SetData(values);
}
NUVEdbAnyData::NUVEdbAnyData(const NUVIUnknownList* values) : type_(EdbTypeObjectList) { SetData(values); }

NUVEdbAnyData::NUVEdbAnyData(const NUVEdbAnyData& other)
    : NUVBaseUnknown(other),
      integer_(other.integer_),
      float_(other.float_),
      double_(other.double_),
      string_(other.string_),
      type_(other.type_),
      lists_(other.lists_ ? new Lists(*other.lists_) : nullptr) {
  Replace(interface_, other.interface_);
  Replace(interfaceList_, other.interfaceList_);
}

NUVEdbAnyData& NUVEdbAnyData::operator=(const NUVEdbAnyData& other) {
  NUVBaseUnknown::operator=(other);
  integer_ = other.integer_;
  float_ = other.float_;
  double_ = other.double_;
  string_ = other.string_;
  type_ = other.type_;
  Replace(interface_, other.interface_);
  if (this != &other) lists_.reset(other.lists_ ? new Lists(*other.lists_) : nullptr);
  Replace(interfaceList_, other.interfaceList_);
  return *this;
}

NUVEdbAnyData::~NUVEdbAnyData() {
  ReleaseAndNull(interface_);
  ReleaseAndNull(interfaceList_);
}

NUVEdbAnyData::Lists& NUVEdbAnyData::EnsureLists() {
  if (!lists_) lists_.reset(new Lists);
  return *lists_;
}

long NUVEdbAnyData::GetType(NUVEdbObjAttrType& type) const {
  type = type_;
  return kSource.Success();
}

long NUVEdbAnyData::SetType(const NUVEdbObjAttrType& type) {
  type_ = type;
  return kSource.Success();
}

long NUVEdbAnyData::GetData(int& value) const {
  if (type_ != EdbTypeInteger) return kSource.Failure();
  value = integer_;
  return kSource.Success();
}

long NUVEdbAnyData::GetData(float& value) const {
  if (type_ != EdbTypeFloat) return kSource.Failure();
  value = float_;
  return kSource.Success();
}

long NUVEdbAnyData::GetData(double& value) const {
  if (type_ != EdbTypeDouble) return kSource.Failure();
  value = double_;
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const int& value) {
  if (type_ != EdbTypeInteger) return kSource.Failure();
  integer_ = value;
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const float& value) {
  if (type_ != EdbTypeFloat) return kSource.Failure();
  float_ = value;
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const double& value) {
  if (type_ != EdbTypeDouble) return kSource.Failure();
  double_ = value;
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const IUnknown* value) {
  if (!value || type_ != EdbTypeObject) return kSource.Failure();
  // The held reference goes first; the caller's own reference keeps the
  // argument alive even when it is the object already held.
  if (interface_) interface_->Release();
  interface_ = const_cast<IUnknown*>(value);
  interface_->AddRef();  // the value's own reference
  return kSource.Success();
}

long NUVEdbAnyData::GetData(const GUID& iid, void** out) const {
  long result = kSource.Failure();
  if (!out) return result;
  *out = nullptr;
  if (type_ != EdbTypeObject || !interface_) return result;
  return nuvedb::GuardedCode(kSource, [&] { return interface_->QueryInterface(iid, out); });
}

long NUVEdbAnyData::GetData(NUVUnicodeString& value, const unsigned char& decode) const {
  if (type_ == EdbTypeEncodedString) {
    value = string_;
    return kSource.Success();
  }
  if (type_ != EdbTypeString) return kSource.Failure();
  value = decode ? DecodeBlanks(string_) : string_;
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const NUVUnicodeString& value) {
  if (type_ != EdbTypeString && type_ != EdbTypeEncodedString) return kSource.Failure();
  string_ = EncodeBlanks(value);
  return kSource.Success();
}

long NUVEdbAnyData::GetListSize(int& size) const {
  size = 0;
  return nuvedb::GuardedCode(kSource, [&] {
    switch (type_) {
      case EdbTypeIntegerList:
        size = lists_ ? lists_->integers.Size() : 0;
        break;
      case EdbTypeFloatList:
        size = lists_ ? lists_->floats.Size() : 0;
        break;
      case EdbTypeDoubleList:
        size = lists_ ? lists_->doubles.Size() : 0;
        break;
      case EdbTypeStringList:
        size = lists_ ? lists_->strings.Size() : 0;
        break;
      case EdbTypeObjectList: {
        unsigned int count = 0;
        if (!interfaceList_ || interfaceList_->Count(&count) < 0) return kSource.Failure();
        size = static_cast<int>(count);
        break;
      }
      default:
        return kSource.Failure();
    }
    return kSource.Success();
  });
}

long NUVEdbAnyData::GetData(int n, int& value) const {
  if (type_ != EdbTypeIntegerList || !lists_ || !ItemOf(lists_->integers, n, value)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::GetData(int n, float& value) const {
  if (type_ != EdbTypeFloatList || !lists_ || !ItemOf(lists_->floats, n, value)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::GetData(int n, double& value) const {
  if (type_ != EdbTypeDoubleList || !lists_ || !ItemOf(lists_->doubles, n, value)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::GetData(int n, NUVUnicodeString& value, const unsigned char& decode) const {
  NUVUnicodeString stored;
  if (type_ != EdbTypeStringList || !lists_ || !ItemOf(lists_->strings, n, stored)) return kSource.Failure();
  value = decode ? DecodeBlanks(stored) : stored;
  return kSource.Success();
}

long NUVEdbAnyData::GetData(int n, const GUID& iid, void** out) const {
  if (type_ != EdbTypeObjectList || n < 1 || !interfaceList_) return kSource.Failure();
  NUVRef<IUnknown> item;
  return nuvedb::GuardedCode(kSource, [&] {
    unsigned int count = 0;
    if (interfaceList_->Count(&count) < 0) count = 0;
    if (count == 0 || static_cast<unsigned int>(n) > count) return kSource.Failure();
    if (interfaceList_->Item(static_cast<unsigned int>(n - 1), item.out()) < 0 || !item) {
      return kSource.Failure();
    }
    return item->QueryInterface(iid, out);
  });
}

long NUVEdbAnyData::SetData(const NUVRawCollint& values) {
  if (type_ != EdbTypeIntegerList || !AppendAll(EnsureLists().integers, values)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const NUVRawCollfloat& values) {
  if (type_ != EdbTypeFloatList || !AppendAll(EnsureLists().floats, values)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const NUVRawColldouble& values) {
  if (type_ != EdbTypeDoubleList || !AppendAll(EnsureLists().doubles, values)) return kSource.Failure();
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const NUVListValNUVUnicodeString& values) {
  if (type_ != EdbTypeStringList || values.Size() < 1) return kSource.Failure();
  NUVListValNUVUnicodeString& strings = EnsureLists().strings;
  for (int i = 1; i <= values.Size(); ++i) strings.Append(EncodeBlanks(values[i]));
  return kSource.Success();
}

long NUVEdbAnyData::SetData(const NUVIUnknownList* source) {
  if (type_ != EdbTypeObjectList || !source) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    unsigned int count = 0;
    if (source->Count(&count) < 0) count = 0;
    if (count == 0) return kSource.Failure();
    ReleaseAndNull(interfaceList_);
    unsigned int added = 0;
    for (unsigned int p = 0; p < count; ++p) {
      NUVRef<IUnknown> item;
      if (source->Item(p, item.out()) < 0) {
        (void)item.HandOver();  // a failed call hands out no reference
        continue;
      }
      if (!item) continue;
      if (!interfaceList_) interfaceList_ = nuvedb::NewUnknownList();
      if (interfaceList_ && interfaceList_->Add(added, item.get()) >= 0) ++added;
    }
    return added > 0 ? kSource.Success() : kSource.Failure();
  });
}

NUVUnicodeString NUVEdbAnyData::EncodeBlanks(const NUVUnicodeString& text) {
  return NUVEdsGeneralTool().EncodeBlanks(text);
}

NUVUnicodeString NUVEdbAnyData::DecodeBlanks(const NUVUnicodeString& text) {
  return NUVEdsGeneralTool().DecodeBlanks(text);
}
