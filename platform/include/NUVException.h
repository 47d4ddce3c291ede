#pragma once
#include "NUVBaseUnknown.h"

// An object that the platform can raise into the enclosing frame.
// NUVError is the platform's error kind; other kinds pass through frames.
class NUVPLATFORM_API NUVException : public NUVBaseUnknown {
 public:
  NUVMetaClass* GetMetaObject() const override;
  const char* IsA() const override;
  int IsAKindOf(const char* name) const override;
  // The meta-object of this class.
  static NUVMetaClass* MetaObject();

  // Raises this object into the innermost enclosing frame; does not return.
  // The frame takes a reference of its own.
  [[noreturn]] virtual void Throw(const char* file, int line, const char* text);
};

// Raises the object, handing its creation reference to the frame.
[[noreturn]] NUVPLATFORM_API void NUVRaise(NUVException* adopted, const char* file, int line);
