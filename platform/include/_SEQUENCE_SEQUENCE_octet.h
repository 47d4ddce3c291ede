#pragma once
#include <vector>

// NOLINTBEGIN(bugprone-reserved-identifier): the platform's own name.
// The other byte sequence type of the object-modeler library.
class _SEQUENCE_SEQUENCE_octet {
 public:
  // The number of bytes.
  unsigned long length() const { return bytes_.size(); }
  // Resizes; new bytes are 0.
  void length(unsigned long n) { bytes_.resize(n); }
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
  std::vector<unsigned char> bytes_;
};
// NOLINTEND(bugprone-reserved-identifier)
