#include "NUVIUnknownListImpl.h"

NUVIUnknownListImpl::~NUVIUnknownListImpl() {
  for (IUnknown* item : items_) {
    if (item) item->Release();
  }
}

long NUVIUnknownListImpl::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_NUVIUnknownList) {
    *out = static_cast<NUVIUnknownList*>(this);
    AddRef();
    return NUV_S_OK;
  }
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVIUnknownListImpl::Count(unsigned int* count) const {
  if (!count) return NUV_E_POINTER;
  *count = static_cast<unsigned int>(items_.size());
  return NUV_S_OK;
}

long NUVIUnknownListImpl::Item(unsigned int position, IUnknown** item) const {
  if (!item) return NUV_E_POINTER;
  if (position >= items_.size()) return NUV_E_INVALIDARG;
  *item = items_[position];
  if (*item) (*item)->AddRef();
  return NUV_S_OK;
}

long NUVIUnknownListImpl::Add(unsigned int position, IUnknown* item) {
  if (position > items_.size()) return NUV_E_INVALIDARG;
  items_.insert(items_.begin() + position, item);
  if (item) item->AddRef();
  return NUV_S_OK;
}
