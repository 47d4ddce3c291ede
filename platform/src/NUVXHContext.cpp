#include "NUVXHContext.h"

NUVXHRaised::NUVXHRaised(const NUVXHRaised& other) noexcept : raised_(other.raised_) {
  if (raised_) raised_->AddRef();
}

NUVXHRaised::~NUVXHRaised() {
  if (raised_) raised_->Release();
}

void NUVXHContext::Keep(NUVException* raised) noexcept {
  if (error_) error_->Release();
  error_ = raised;
}
