#pragma once
#include <vector>

#include "NUVBaseUnknown.h"
#include "NUVIUnknownList.h"

// The platform's implementation of NUVIUnknownList.
class NUVPLATFORM_API NUVIUnknownListImpl : public NUVBaseUnknown, public NUVIUnknownList {
 public:
  NUVIUnknownListImpl() = default;
  NUVIUnknownListImpl(const NUVIUnknownListImpl&) = delete;
  NUVIUnknownListImpl& operator=(const NUVIUnknownListImpl&) = delete;
  ~NUVIUnknownListImpl() override;

  // The list interface or IUnknown, with a new reference.
  long QueryInterface(const GUID& iid, void** out) override;
  // @{
  // The base object's reference count.
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }
  // @}

  long Count(unsigned int* count) const override;
  long Item(unsigned int position, IUnknown** item) const override;
  long Add(unsigned int position, IUnknown* item) override;

 private:
  std::vector<IUnknown*> items_;  // each non-null item holds one reference
};
