#include "BrokerTest.h"

#include "NUVIUnknownListImpl.h"

NUVIUnknownList* BrokerTest::ListOf(std::initializer_list<NUVIEdbSysObject*> adopted) {
  auto* impl = new NUVIUnknownListImpl;
  NUVIUnknownList* list = nullptr;
  impl->QueryInterface(IID_NUVIUnknownList, reinterpret_cast<void**>(&list));
  impl->Release();
  unsigned int position = 0;
  for (NUVIEdbSysObject* object : adopted) {
    list->Add(position++, object);
    object->Release();
  }
  return list;
}

NUVEdbSQLData* BrokerTest::ObjectParameter(const char* name, const char* key) {
  NUVIEdbSysObject* object = Object("PART", key);
  auto* parameter = new NUVEdbSQLData(name, object);
  object->Release();
  return parameter;
}

NUVEdbSQLData* BrokerTest::ObjectListParameter(std::initializer_list<const char*> names,
                                               std::initializer_list<const char*> keys,
                                               const char* condition) {
  NUVIUnknownList* objects = ListOf({});
  unsigned int position = 0;
  for (const char* key : keys) {
    NUVIEdbSysObject* object = Object("PART", key);
    objects->Add(position++, object);
    object->Release();
  }
  NUVListValNUVUnicodeString nameList;
  for (const char* name : names) nameList.Append(name);
  auto* parameter = new NUVEdbSQLData(nameList, objects, condition);
  objects->Release();
  return parameter;
}

std::string BrokerTest::KeysOf(const NUVIUnknownList* list) {
  std::string keys;
  unsigned int count = 0;
  list->Count(&count);
  for (unsigned int position = 0; position < count; ++position) {
    IUnknown* item = nullptr;
    list->Item(position, &item);
    NUVIEdbSysObject* object = nullptr;
    item->QueryInterface(IID_NUVIEdbSysObject, reinterpret_cast<void**>(&object));
    NUVUnicodeString key;
    object->GetObjectKey(key);
    if (!keys.empty()) keys += '+';
    keys += key.CastToCharPtr();
    object->Release();
    item->Release();
  }
  return keys;
}
