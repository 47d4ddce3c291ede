#pragma once
#include "IUnknown.h"

class NUVEdsMetadataTool;

inline constexpr GUID IID_NUVIEdbMetadataToolProvider{
    0xDD12EE40, 0x40F9, 0x4AE7, {0x84, 0x71, 0xBA, 0xE6, 0x2D, 0xF5, 0x76, 0x50}};

// Hands out the host's metadata tool.
class NUVIEdbMetadataToolProvider : public IUnknown {
 public:
  // Writes the tool with a reference for the receiver.
  virtual long ProvideMetadataTool(NUVEdsMetadataTool** tool) = 0;

 protected:
  ~NUVIEdbMetadataToolProvider() = default;
};
