#pragma once
#include <string_view>

#include "NUVPlatformExport.h"
#include "NUVUnicodeString.h"

// Blank encoding of the engineering-data utility library. The encoded form
// holds no blank, no apostrophe and no zero byte: they and the escape
// character % are written %20, %27, %00 and %25. DecodeBlanks restores the
// original exactly and returns text that is no valid encoding unchanged.
class NUVPLATFORM_API NUVEdsGeneralTool {
 public:
  // The text in encoded form.
  NUVUnicodeString EncodeBlanks(const NUVUnicodeString& text) const;
  // Writes what EncodeBlanks gives for the UTF-8 text into encoded, in the
  // room encoded already has when it holds its text alone.
  void EncodeBlanks(std::string_view text, NUVUnicodeString& encoded) const;
  // The original of an encoded text; other text comes back unchanged.
  NUVUnicodeString DecodeBlanks(const NUVUnicodeString& text) const;
  // Writes what DecodeBlanks gives for the text into decoded, in the room
  // decoded already has when it holds its text alone.
  void DecodeBlanks(const NUVUnicodeString& text, NUVUnicodeString& decoded) const;
  // True when the text is what EncodeBlanks gives for some text, so that
  // decoding it and encoding the result gives it back unchanged.
  bool IsEncodedForm(std::string_view text) const;
};
