#pragma once
#include <vector>

// NOLINTBEGIN(bugprone-reserved-identifier): the platform's own name.
// A byte sequence of the object-modeler library.
class _SEQUENCE_octet {
 public:
  _SEQUENCE_octet() = default;
  // Copies length bytes from data (none when either is empty).
  _SEQUENCE_octet(long length, const unsigned char* data) {
    if (length > 0 && data) bytes_.assign(data, data + length);
  }
  // The number of bytes.
  long length() const { return static_cast<long>(bytes_.size()); }
  // Byte i, from 0; an index outside the sequence throws std::out_of_range.
  unsigned char operator[](long i) const { return bytes_.at(static_cast<size_t>(i)); }
  // The bytes, length() of them.
  const unsigned char* data() const { return bytes_.data(); }

 private:
  std::vector<unsigned char> bytes_;
};
// NOLINTEND(bugprone-reserved-identifier)
