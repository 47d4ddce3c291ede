#include "BrokerTest.h"

NUVEdbSQLData* BrokerTest::ObjectParameter(const char* name, const char* key) {
  NUVIEdbSysObject* object = Object("PART", key);
  auto* parameter = new NUVEdbSQLData(name, object);
  object->Release();
  return parameter;
}

NUVEdbSQLData* BrokerTest::ObjectListParameter(std::initializer_list<const char*> names,
                                               std::initializer_list<const char*> keys,
                                               const char* condition) {
  NUVIUnknownList* objects = HostObjectList(*host, "PART", keys);
  NUVListValNUVUnicodeString nameList;
  for (const char* name : names) nameList.Append(name);
  auto* parameter = new NUVEdbSQLData(nameList, objects, condition);
  objects->Release();
  return parameter;
}
