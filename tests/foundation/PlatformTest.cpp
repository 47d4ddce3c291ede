#include <gtest/gtest.h>

#include <clocale>
#include <stdexcept>
#include <string>
#include <vector>

#include "NUVEdsGeneralTool.h"
#include "NUVError.h"
#include "NUVRawCollint.h"
#include "NUVToken.h"
#include "NUVUnicodeString.h"
#include "NUVXHContext.h"
#include "_SEQUENCE_SEQUENCE_octet.h"

TEST(UnicodeString, ReplaceSubStringReplacesEveryOccurrenceWithoutRescanning) {
  struct Case {
    const char* text;
    const char* name;
    const char* with;
    const char* expected;
    int count;
    std::vector<size_t> at;  // where each occurrence began
  };
  const Case cases[] = {
      {":A and :A", ":A", "1", "1 and 1", 2, {0, 7}},
      {"x=:N", ":N", ":N:N", "x=:N:N", 1, {2}},  // inserted text is not searched again
      {"aaaa", "aa", "b", "bb", 2, {0, 2}},      // no overlap
      {"abc", "", "zz", "abc", 0, {}},           // empty name changes nothing
      {":AB :A", ":A", "7", "7B 7", 2, {0, 4}},  // plain substring match
      {"ab", "b", "long", "along", 1, {1}},
  };
  for (const Case& c : cases) {
    NUVUnicodeString text(c.text);
    EXPECT_EQ(text.ReplaceSubString(c.name, c.with), c.count) << c.text;
    EXPECT_EQ(text, c.expected) << c.text;
    NUVUnicodeString again(c.text);
    std::vector<size_t> at{99};  // appended to
    EXPECT_EQ(again.ReplaceSubString(c.name, c.with, at), c.count) << c.text;
    EXPECT_EQ(again, c.expected) << c.text;
    at.erase(at.begin());
    EXPECT_EQ(at, c.at) << c.text;
  }
}

TEST(UnicodeString, LengthCountsCodePointsAndStripRemovesAtTheGivenEnds) {
  EXPECT_EQ(NUVUnicodeString("h\xC3\xA9llo").GetLengthInChar(), 5);
  // Longer texts are counted eight bytes at a time, with characters that
  // straddle the blocks.
  std::string mixed;
  for (int i = 0; i < 9; ++i) mixed += "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, e acute, euro, emoji
  EXPECT_EQ(NUVUnicodeString(mixed.c_str()).GetLengthInChar(), 36);
  EXPECT_EQ(NUVUnicodeString(std::string(29, 'x').c_str()).GetLengthInChar(), 29);
  const struct {
    int mode;
    const char* expected;
  } cases[] = {{1, "k1  "}, {2, "  k1"}, {3, "k1"}};
  for (const auto& c : cases) {
    NUVUnicodeString text("  k1  ");
    EXPECT_EQ(text.Strip(c.mode, NUVUnicodeChar(' ')), c.expected);
  }
}

// Numbers are written in the C locale whatever the process uses; a format
// that does not fit the value is refused, leaving the text as it was.
TEST(UnicodeString, BuildFromNumUsesTheCLocaleAndRefusesAFormatThatDoesNotFit) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // a comma locale, where installed
  NUVUnicodeString text;
  EXPECT_EQ(text.BuildFromNum(2.5, "%g"), "2.5");
  EXPECT_EQ(text.BuildFromNum(2.5, "%.3f"), "2.500");
  EXPECT_EQ(text.BuildFromNum(-42, "%d"), "-42");
  EXPECT_EQ(text.BuildFromNum(1e20, "%g"), "1e+20");
  std::setlocale(LC_NUMERIC, saved.c_str());
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { text.BuildFromNum(3, "%s"); }));
  ASSERT_NE(frame.GetError(), nullptr);
  EXPECT_TRUE(frame.GetError()->IsAKindOf(NUVError::ClassName()));
  EXPECT_EQ(text, "1e+20");
}

TEST(Token, SkipsRunsOfSeparators) {
  NUVToken token("+K1++ K2 +");
  EXPECT_EQ(token.GetNextToken("+"), "K1");
  EXPECT_EQ(token.GetNextToken("+"), " K2 ");
  EXPECT_EQ(token.GetNextToken("+"), "");
  EXPECT_EQ(token.GetNextToken("+"), "");
}

TEST(BlankEncoding, RoundTripsAndLeavesNoBlankOrApostrophe) {
  const NUVEdsGeneralTool tool;
  for (const char* text : {"", "plain", "a b", "O'Brien's 'x'", "100%", "%20", " ' % ", "%%27"}) {
    const NUVUnicodeString encoded = tool.EncodeBlanks(text);
    EXPECT_EQ(encoded.View().find_first_of(" '"), std::string_view::npos) << text;
    EXPECT_EQ(tool.DecodeBlanks(encoded), text);
    EXPECT_TRUE(tool.IsEncodedForm(encoded.View())) << text;
  }
  EXPECT_EQ(tool.EncodeBlanks("a b"), "a%20b");
  // Text that is no valid encoding decodes to itself; a valid one, once.
  for (const char* text : {"50%", "%4x y", "a%20b%2", "it's", "%%20"}) {
    EXPECT_EQ(tool.DecodeBlanks(text), text);
    EXPECT_FALSE(tool.IsEncodedForm(text)) << text;
  }
  EXPECT_EQ(tool.DecodeBlanks("%2520%00x").View(), std::string_view("%20\0x", 5));
}

// Converting into a string gives what the answering form gives, even when
// the string is the very text converted, or shares its buffer with a copy.
TEST(BlankEncoding, ConvertsIntoAStringAsIntoANewOne) {
  const NUVEdsGeneralTool tool;
  for (const char* text :
       {"short%20one", "a%20long%20enough%20text%20to%20share", "O'Brien's 100% long text"}) {
    NUVUnicodeString decoded(text);
    NUVUnicodeString encoded(text);
    const NUVUnicodeString copy = decoded;  // the answer must not write into the buffer they share
    tool.DecodeBlanks(decoded, decoded);
    tool.EncodeBlanks(encoded.View(), encoded);
    EXPECT_EQ(decoded, tool.DecodeBlanks(text)) << text;
    EXPECT_EQ(encoded, tool.EncodeBlanks(text)) << text;
    EXPECT_EQ(copy, text);
  }
}

TEST(Collections, AreNumberedFromOneAndRaiseOutsideTheirRange) {
  // Short lists take pooled blocks, long ones the general heap.
  for (int size : {1, 2, 31, 32, 33, 500}) {
    NUVRawCollint list;
    for (int round = 0; round < 2; ++round) {
      for (int i = 1; i <= size; ++i) list.Append(i * 3 + round);
      const NUVRawCollint copy = list;
      ASSERT_EQ(copy.Size(), size);
      for (int i = 1; i <= size; ++i) ASSERT_EQ(copy[i], i * 3 + round) << size;
      for (int bad : {0, -1, size + 1}) {
        NUVXHContext frame;
        EXPECT_FALSE(frame.Run([&] { (void)list[bad]; })) << bad;
        EXPECT_NE(frame.GetError(), nullptr);
      }
      list.RemoveAll(round == 0 ? NUVCollec::FreeMemory : NUVCollec::KeepMemory);
      EXPECT_EQ(list.Size(), 0);
    }
  }
}

// Bytes a sequence gains read 0, even where its memory held others before.
TEST(ByteSequence, GrownBytesAreZero) {
  _SEQUENCE_SEQUENCE_octet bytes;
  bytes.length(4);
  for (unsigned long i = 0; i < 4; ++i) bytes[i] = 0xFF;
  bytes.length(1);
  bytes.length(4);
  EXPECT_EQ(std::vector<unsigned char>(bytes.data(), bytes.data() + 4),
            (std::vector<unsigned char>{0xFF, 0, 0, 0}));
  EXPECT_THROW(bytes[4], std::out_of_range);
}
