#pragma once
#include <cstddef>

#include "GUID.h"
#include "NUVPlatformExport.h"

enum ENUMTypeOfClass { NUVClassKindNone = 0, NUVClassKindComponent = 1 };

// The run-time description of one registered class.
class NUVPLATFORM_API NUVMetaClass {
 public:
  NUVMetaClass(const char* name, ENUMTypeOfClass kind, NUVMetaClass* base, const char* fixedName,
               const char* framework, size_t instanceSize);
  NUVMetaClass(const NUVMetaClass&) = delete;
  NUVMetaClass& operator=(const NUVMetaClass&) = delete;

  const GUID& GetClassId() const { return classId_; }
  const char* IsA() const { return name_; }
  // True for the class itself and for every class derived from it.
  int IsAKindOf(const char* name) const;
  int IsAKindOf(const NUVMetaClass* other) const;
  NUVMetaClass* GetBase() const { return base_; }
  const char* GetFramework() const { return framework_; }
  size_t GetInstanceSize() const { return instanceSize_; }
  ENUMTypeOfClass GetKind() const { return kind_; }

 private:
  const char* name_;
  ENUMTypeOfClass kind_;
  NUVMetaClass* base_;
  const char* fixedName_;
  const char* framework_;
  size_t instanceSize_;
  GUID classId_;
};

// Answers the meta-object registered under the name, creating it on the
// first request; the same name always gives the same meta-object. Safe when
// several threads register at once. Meta-objects live until the process ends.
NUVPLATFORM_API NUVMetaClass* fct_RetrieveMetaObject(const char* name, ENUMTypeOfClass kind,
                                                     NUVMetaClass* base, const char* fixedName,
                                                     const char* framework, size_t instanceSize);

// How many times fct_RetrieveMetaObject has been called in this process.
NUVPLATFORM_API long NUVMetaObjectRequestCount();
