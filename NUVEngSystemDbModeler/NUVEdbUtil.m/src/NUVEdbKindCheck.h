#pragma once
// The class test of the hot paths. Not installed.
#include "NUVBaseUnknown.h"
#include "NUVMetaClass.h"

namespace nuvedb {

// True when the object is not null and of class T or derived from it, as
// IsKindOf answers; an object of exactly class T, the common case, is
// answered without walking the chain of base classes.
template <class T>
bool IsKindOfFast(const NUVBaseUnknown* object) {
  if (!object) return false;
  const NUVMetaClass* meta = object->GetMetaObject();
  if (!meta) return false;
  const NUVMetaClass* wanted = T::MetaObject();
  return meta == wanted || meta->IsAKindOf(wanted);
}

}  // namespace nuvedb
