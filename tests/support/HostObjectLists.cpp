#include "HostObjectLists.h"

#include "NUVIEdbSysObject.h"
#include "NUVIUnknownListImpl.h"
#include "TestHostObject.h"

NUVIUnknownList* HostObjectList(TestHost& host, const char* classType,
                                std::initializer_list<const char*> keys) {
  auto* impl = new NUVIUnknownListImpl;
  NUVIUnknownList* list = nullptr;
  impl->QueryInterface(IID_NUVIUnknownList, reinterpret_cast<void**>(&list));
  impl->Release();
  unsigned int position = 0;
  for (const char* key : keys) {
    NUVIEdbSysObject* object = new TestHostObject(host, classType, key);
    list->Add(position++, object);
    object->Release();
  }
  return list;
}

std::string KeysOf(const NUVIUnknownList* list) {
  std::string keys;
  unsigned int count = 0;
  if (list) list->Count(&count);
  for (unsigned int position = 0; position < count; ++position) {
    IUnknown* item = nullptr;
    list->Item(position, &item);
    NUVIEdbSysObject* object = nullptr;
    item->QueryInterface(IID_NUVIEdbSysObject, reinterpret_cast<void**>(&object));
    NUVUnicodeString key;
    object->GetObjectKey(key);
    if (position > 0) keys += '+';
    keys += key.View();
    object->Release();
    item->Release();
  }
  return keys;
}
