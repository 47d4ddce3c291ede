#pragma once
#include <cstddef>

#include "GUID.h"
#include "NUVPlatformExport.h"

// What kind of class a meta-object describes.
enum ENUMTypeOfClass { NUVClassKindNone = 0, NUVClassKindComponent = 1 };

// The run-time description of one registered class.
class NUVPLATFORM_API NUVMetaClass {
 public:
  // Describes the named class; the texts must live as long as the
  // meta-object. The class identifier is derived from the name.
  NUVMetaClass(const char* name, ENUMTypeOfClass kind, NUVMetaClass* base, const char* fixedName,
               const char* framework, size_t instanceSize);
  NUVMetaClass(const NUVMetaClass&) = delete;
  NUVMetaClass& operator=(const NUVMetaClass&) = delete;

  // The class identifier, derived from the name.
  const GUID& GetClassId() const { return classId_; }
  // The class's name.
  const char* IsA() const { return name_; }
  // @{
  // True for the class itself and for every class derived from it.
  int IsAKindOf(const char* name) const;
  int IsAKindOf(const NUVMetaClass* other) const;
  // @}
  // The base class's meta-object; null for a root class.
  NUVMetaClass* GetBase() const { return base_; }
  // The framework named at registration.
  const char* GetFramework() const { return framework_; }
  // The size of one instance, in bytes.
  size_t GetInstanceSize() const { return instanceSize_; }
  // The kind of class named at registration.
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
