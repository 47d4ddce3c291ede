#pragma once
#include <initializer_list>
#include <string>

#include "NUVIEdbSysObject.h"
#include "NUVIUnknownList.h"
#include "NUVIUnknownListImpl.h"
#include "NUVRef.h"
#include "TestHostObject.h"

// A new interface list, with one reference for the caller, holding a new
// host object of the class type for each key.
inline NUVIUnknownList* HostObjectList(TestHost& host, const char* classType,
                                       std::initializer_list<const char*> keys) {
  NUVRef<NUVIUnknownList> list;
  NUVAdopt(new NUVIUnknownListImpl)->QueryInterface(IID_NUVIUnknownList, list.out_void());
  unsigned int position = 0;
  for (const char* key : keys) {
    list->Add(position++, NUVRef<NUVIEdbSysObject>::Adopt(new TestHostObject(host, classType, key)).get());
  }
  return list.HandOver();
}

// The keys of the objects in an interface list, joined by "+"; empty for a
// null list.
inline std::string KeysOf(const NUVIUnknownList* list) {
  std::string keys;
  unsigned int count = 0;
  if (list) list->Count(&count);
  for (unsigned int position = 0; position < count; ++position) {
    NUVRef<IUnknown> item;
    list->Item(position, item.out());
    NUVRef<NUVIEdbSysObject> object;
    item->QueryInterface(IID_NUVIEdbSysObject, object.out_void());
    NUVUnicodeString key;
    object->GetObjectKey(key);
    if (position > 0) keys += '+';
    keys += key.View();
  }
  return keys;
}
