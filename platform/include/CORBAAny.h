#pragma once
#include <optional>

#include "_SEQUENCE_octet.h"

// A CORBA any, as far as the library needs it: it may hold an octet sequence.
class CORBAAny {
 public:
  // Stores a copy of the octet sequence, replacing what the any held.
  CORBAAny& operator<<=(const _SEQUENCE_octet& value) {
    octets_ = value;
    return *this;
  }
  // Extracts the octet sequence held; false, with value unchanged, when the
  // any holds none.
  bool operator>>(_SEQUENCE_octet& value) const {
    if (!octets_) return false;
    value = *octets_;
    return true;
  }

 private:
  std::optional<_SEQUENCE_octet> octets_;
};
