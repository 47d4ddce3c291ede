#pragma once
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// NOLINTBEGIN(bugprone-reserved-identifier): the platform's own name.
// The other byte sequence type of the object-modeler library.
class _SEQUENCE_SEQUENCE_octet {
 public:
  // The number of bytes.
  unsigned long length() const { return bytes_.size(); }
  // Resizes; new bytes are 0.
  void length(unsigned long n) {
    const size_t before = bytes_.size();
    bytes_.resize(n);
    if (n > before) std::memset(bytes_.data() + before, 0, n - before);
  }
  // Resizes and leaves the new bytes unset, for a caller that writes every
  // one of them before anything reads it.
  void LengthForOverwrite(unsigned long n) { bytes_.resize(n); }
  // @{
  // Byte i, from 0; an index past the end throws std::out_of_range.
  unsigned char& operator[](unsigned long i) { return bytes_.at(i); }
  unsigned char operator[](unsigned long i) const { return bytes_.at(i); }
  // @}
  // @{
  // The bytes, length() of them.
  unsigned char* data() { return bytes_.data(); }
  const unsigned char* data() const { return bytes_.data(); }
  // @}

 private:
  // Makes the bytes a resize adds without setting them; length(n) sets
  // them to 0 itself.
  struct UnsetBytes : std::allocator<unsigned char> {
    // The allocator a container asks for its elements: this one.
    template <class U>
    struct rebind {
      using other = UnsetBytes;  // the allocator of the bytes
    };
    // Leaves a byte unset.
    void construct(unsigned char* at) { ::new (static_cast<void*>(at)) unsigned char; }
    // Sets a byte from the value given.
    template <class... Values>
    void construct(unsigned char* at, Values&&... values) {
      ::new (static_cast<void*>(at)) unsigned char(std::forward<Values>(values)...);
    }
  };
  std::vector<unsigned char, UnsetBytes> bytes_;
};
// NOLINTEND(bugprone-reserved-identifier)
