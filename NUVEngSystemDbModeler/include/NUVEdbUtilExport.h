#pragma once
// The one export macro of NUVEdbUtil: what it marks is visible, nothing else.
#define NUVEDBUTIL_API __attribute__((visibility("default")))

#include "NUVBaseUnknown.h"
#include "NUVMetaClass.h"

// Declares the class-registration operations of a registered class. Their
// definitions come from NUVEDB_DEFINE_CLASS_INFO in the class's source.
#define NUVEDB_DECLARE_CLASS_INFO(C)                   \
 public:                                               \
  static NUVMetaClass* meta_object;                    \
  static NUVMetaClass* MetaObject();                   \
  NUVMetaClass* GetMetaObject() const override;        \
  static const GUID& ClassId();                        \
  static const char* ClassName();                      \
  const char* IsA() const override;                    \
  int IsAKindOf(const char* name) const override;      \
  static NUVBaseUnknown* CreateItself();
