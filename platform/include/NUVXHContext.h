#pragma once
#include <utility>

#include "NUVException.h"
#include "NUVPlatformExport.h"

// What travels from a raise to the frame: the raised object and one
// reference on it.
class NUVPLATFORM_API NUVXHRaised {
 public:
  // Adopts the reference the raiser had on the object.
  NUVXHRaised(NUVException* adopted) noexcept : raised_(adopted) {}
  // A copy takes a reference of its own (the language may copy what it
  // throws).
  NUVXHRaised(const NUVXHRaised& other) noexcept;
  NUVXHRaised& operator=(const NUVXHRaised&) = delete;
  ~NUVXHRaised();
  // Hands the reference over.
  NUVException* Take() noexcept { return std::exchange(raised_, nullptr); }

 private:
  NUVException* raised_;
};

// A platform exception frame for one call. Run executes a body inside it;
// an object raised there is caught and kept, with a reference, until the
// frame is destroyed. Language exceptions of other types are not caught.
class NUVPLATFORM_API NUVXHContext {
 public:
  NUVXHContext() = default;
  NUVXHContext(const NUVXHContext&) = delete;
  NUVXHContext& operator=(const NUVXHContext&) = delete;
  ~NUVXHContext() {
    if (error_) error_->Release();
  }

  // Answers true when the body completed, false when something was raised.
  template <class Body>
  bool Run(Body&& body) {
    try {
      std::forward<Body>(body)();
      return true;
    } catch (NUVXHRaised& raised) {
      Keep(raised.Take());
      return false;
    }
  }
  // The object raised inside the frame, or null; the frame keeps its reference.
  NUVException* GetError() const { return error_; }

 private:
  void Keep(NUVException* raised) noexcept;
  NUVException* error_ = nullptr;
};
