#pragma once
#include <cstdint>

// The kind of value an attribute, a parameter or a cell carries. Values 5
// to 10 are never produced; any unlisted value is a type no accessor serves.
enum NUVEdbObjAttrType : int32_t {
  EdbTypeNone = 0,
  EdbTypeInteger = 1,
  EdbTypeFloat = 2,
  EdbTypeString = 3,
  EdbTypeObject = 4,
  EdbTypeIntegerList = 11,
  EdbTypeFloatList = 12,
  EdbTypeStringList = 13,
  EdbTypeObjectList = 14,
  EdbTypeEncodedString = 15,
  EdbTypeDouble = 16,
  EdbTypeDoubleList = 17
};
