// EncodeBlanks, DecodeBlanks and IsEncodedForm: the encoded form holds no
// blank and no apostrophe, and decoding gives the text back.
#include "FuzzCheck.h"
#include "NUVEdsGeneralTool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const NUVUnicodeString text(FuzzText(data, size));
  NUVEdsGeneralTool tool;
  const NUVUnicodeString encoded = tool.EncodeBlanks(text);
  FUZZ_CHECK(encoded.View().find_first_of(" '") == std::string_view::npos);
  FUZZ_CHECK(tool.DecodeBlanks(encoded) == text);
  FUZZ_CHECK(tool.IsEncodedForm(encoded.View()));
  // Any text decodes without harm; the encoded form is what survives a
  // decoding and an encoding again.
  FUZZ_CHECK(tool.IsEncodedForm(text.View()) == (tool.EncodeBlanks(tool.DecodeBlanks(text)) == text));
  // Decoding into a string that holds a text of its own, in its own room,
  // gives the same; the text it held before is left to any copy of it.
  static NUVUnicodeString reused;
  const std::string before(reused.View());
  NUVUnicodeString held;
  if (size % 2 == 1) held = reused;  // now and then a copy shares the old text
  tool.DecodeBlanks(text, reused);
  FUZZ_CHECK(reused == tool.DecodeBlanks(text));
  FUZZ_CHECK(size % 2 == 0 || held.View() == before);
  return 0;
}
