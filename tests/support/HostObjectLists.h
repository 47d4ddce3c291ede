#pragma once
#include <initializer_list>
#include <string>

#include "NUVIUnknownList.h"

class TestHost;

// A new interface list, with one reference for the caller, holding a new
// host object of the class type for each key.
NUVIUnknownList* HostObjectList(TestHost& host, const char* classType,
                                std::initializer_list<const char*> keys);

// The keys of the objects in an interface list, joined by "+"; empty for a
// null list.
std::string KeysOf(const NUVIUnknownList* list);
