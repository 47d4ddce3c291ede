#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "NUVEdsGeneralTool.h"
#include "NUVInternalError.h"
#include "NUVRawCollint.h"
#include "NUVToken.h"
#include "NUVUnicodeString.h"
#include "NUVXHContext.h"

TEST(UnicodeString, ReplaceSubStringReplacesEveryOccurrenceWithoutRescanning) {
  struct Case {
    const char* text;
    const char* name;
    const char* with;
    const char* expected;
    int count;
  };
  const Case cases[] = {
      {":A and :A", ":A", "1", "1 and 1", 2},
      {"x=:N", ":N", ":N:N", "x=:N:N", 1},  // inserted text is not searched again
      {"aaaa", "aa", "b", "bb", 2},         // no overlap
      {"abc", "", "zz", "abc", 0},          // empty name changes nothing
      {":AB :A", ":A", "7", "7B 7", 2},     // plain substring match
  };
  for (const Case& c : cases) {
    NUVUnicodeString text(c.text);
    EXPECT_EQ(text.ReplaceSubString(c.name, c.with), c.count) << c.text;
    EXPECT_EQ(text, c.expected) << c.text;
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
  for (const char* text : {"", "\x80", "\x80\xBF", "a", "\xC3\xA9", "\x80z"}) {
    const NUVUnicodeString string(text);
    EXPECT_EQ(string.HasNoCharacter(), string.GetLengthInChar() == 0) << text;
  }
  const struct {
    int mode;
    const char* expected;
  } cases[] = {{1, "k1  "}, {2, "  k1"}, {3, "k1"}};
  for (const auto& c : cases) {
    NUVUnicodeString text("  k1  ");
    EXPECT_EQ(text.Strip(c.mode, NUVUnicodeChar(' ')), c.expected);
  }
}

TEST(UnicodeString, CopiesStayIndependentAcrossTheInlineBoundary) {
  // Lengths around the fifteen bytes held inline, and long shared texts.
  for (size_t length : {0, 1, 14, 15, 16, 17, 40}) {
    const std::string expected(length, 'k');
    NUVUnicodeString original(expected.c_str());
    NUVUnicodeString copy = original;
    NUVUnicodeString assigned;
    assigned = copy;
    original += "+";
    copy.ReplaceSubString("k", "kk");
    EXPECT_EQ(assigned.View(), expected) << length;
    EXPECT_EQ(std::strlen(assigned.CastToCharPtr()), length) << length;
    EXPECT_EQ(original.View(), expected + "+") << length;
    EXPECT_EQ(copy.GetLengthInBytes(), 2 * length) << length;
    NUVUnicodeString shrunk = assigned;  // shrinks in place only when it owns its text alone
    shrunk.ReplaceSubString("kk", "k");
    EXPECT_EQ(shrunk.GetLengthInBytes(), length - length / 2) << length;
    EXPECT_EQ(assigned.View(), expected) << length;
    NUVUnicodeString moved = std::move(assigned);
    EXPECT_EQ(moved.View(), expected) << length;
    EXPECT_TRUE(assigned.View().empty()) << length;  // NOLINT(bugprone-use-after-move): moved-from is empty
  }
}

TEST(UnicodeString, ChangesMayReadTheirOwnText) {
  NUVUnicodeString text("abcdefghij");
  text += text;
  EXPECT_EQ(text, "abcdefghijabcdefghij");
  text += text;
  EXPECT_EQ(text.GetLengthInBytes(), 40U);
  text = text.CastToCharPtr() + 30;
  EXPECT_EQ(text, "abcdefghij");
  text.ReplaceSubString("c", text);
  EXPECT_EQ(text, "ababcdefghijdefghij");
  const NUVUnicodeString& self = text;
  text = self;
  EXPECT_EQ(text, "ababcdefghijdefghij");
  NUVUnicodeString tail("fghij");
  EXPECT_EQ(text.ReplaceSubString(tail, "!"), 2);  // in place, several pieces moving forward
  EXPECT_EQ(text, "ababcde!de!");
  EXPECT_EQ(text.ReplaceSubString(text, ""), 1);  // the name is the text itself
  EXPECT_EQ(text, "");
  std::string grown;
  NUVUnicodeString appended;
  for (int i = 0; i < 1000; ++i) {
    appended += "xyz";
    grown += "xyz";
  }
  EXPECT_EQ(appended.View(), grown);
  char* out = appended.PrepareOverwrite(3);
  std::memcpy(out, "end", 3);
  EXPECT_EQ(appended, "end");
  for (size_t prepared : {6, 40}) {  // inline and shared
    std::memset(appended.PrepareOverwrite(prepared), 'y', prepared);
    appended.FinishOverwrite(4);
    EXPECT_EQ(appended, "yyyy") << prepared;
    EXPECT_EQ(std::strlen(appended.CastToCharPtr()), 4U) << prepared;
  }
}

TEST(UnicodeString, BuildFromNumUsesTheCLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  NUVUnicodeString text;
  EXPECT_EQ(text.BuildFromNum(2.5, "%g"), "2.5");
  EXPECT_EQ(text.BuildFromNum(2.5, "%.3f"), "2.500");
  EXPECT_EQ(text.BuildFromNum(-42, "%d"), "-42");
  EXPECT_EQ(text.BuildFromNum(1e20, "%g"), "1e+20");
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!comma) GTEST_SKIP() << "no comma locale installed; checked in the C locale only";
}

TEST(UnicodeString, BuildFromNumRefusesAFormatThatDoesNotFitTheValue) {
  NUVXHContext frame;
  NUVUnicodeString text("kept");
  EXPECT_FALSE(frame.Run([&] { text.BuildFromNum(3, "%s"); }));
  ASSERT_NE(frame.GetError(), nullptr);
  EXPECT_TRUE(frame.GetError()->IsAKindOf(NUVError::ClassName()));
  EXPECT_EQ(text, "kept");
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
  const char* texts[] = {"", "plain", "a b", "O'Brien's 'x'", "100%", "%20", " ' % ", "%%27"};
  for (const char* text : texts) {
    const NUVUnicodeString encoded = tool.EncodeBlanks(text);
    EXPECT_EQ(encoded.View().find_first_of(" '"), std::string_view::npos) << text;
    EXPECT_EQ(tool.DecodeBlanks(encoded), text);
  }
  EXPECT_EQ(tool.EncodeBlanks("a b"), "a%20b");
  EXPECT_EQ(tool.DecodeBlanks("50%"), "50%");  // not an encoding: unchanged
  EXPECT_EQ(tool.DecodeBlanks("%4x y"), "%4x y");
  EXPECT_EQ(tool.DecodeBlanks("a%20b%2"), "a%20b%2");  // an escape cut short spoils the whole text
  EXPECT_EQ(tool.DecodeBlanks("%2520%00x").View(),
            std::string_view("%20\0x", 5));  // decoded once, never again
}

TEST(BlankEncoding, EncodedFormIsWhatDecodingAndEncodingAgainKeep) {
  const NUVEdsGeneralTool tool;
  const struct {
    const char* text;
    bool encoded;
  } cases[] = {{"", true},      {"abc", true},  {"a%20b", true}, {"O%27B%25%00", true}, {"a b", false},
               {"it's", false}, {"50%", false}, {"%2", false},   {"%4x", false},        {"%%20", false}};
  for (const auto& c : cases) {
    const NUVUnicodeString text(c.text);
    EXPECT_EQ(tool.IsEncodedForm(text), c.encoded) << c.text;
    EXPECT_EQ(tool.IsEncodedForm(text), tool.EncodeBlanks(tool.DecodeBlanks(text)) == text) << c.text;
  }
}

TEST(Collections, AreNumberedFromOneAndRaiseOutsideTheirRange) {
  NUVRawCollint list;
  list.Append(10);
  list.Append(20);
  EXPECT_EQ(list[1], 10);
  EXPECT_EQ(list[2], 20);
  for (int bad : {0, -1, 3}) {
    NUVXHContext frame;
    EXPECT_FALSE(frame.Run([&] { (void)list[bad]; })) << bad;
    EXPECT_NE(frame.GetError(), nullptr);
  }
  list.RemoveAll(NUVCollec::FreeMemory);
  EXPECT_EQ(list.Size(), 0);
}

TEST(Errors, ARecordedErrorIsFoundByItsCode) {
  auto* error = new NUVInternalError(7, "Msg", "Cat");
  const long code = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
  error->Release();
  EXPECT_LT(code, 0);
  NUVError* found = NUVError::NUVGetLastError(code, nullptr);
  ASSERT_EQ(found, error);
  EXPECT_EQ(found->GetId(), 7U);
  found->Release();
  EXPECT_EQ(NUVError::NUVGetLastError(NUVError::GetReturn(0, nullptr, nullptr, __FILE__, __LINE__), nullptr),
            nullptr);
  EXPECT_GE(NUVError::GetReturn(1, nullptr, nullptr, __FILE__, __LINE__), 0);
}

TEST(Allocation, FailsOnceAtTheRequestedAllocation) {
  NUVBaseUnknown::FailAllocationAt(2);
  auto* first = new NUVInternalError(1U);
  auto* second = new NUVInternalError(2U);
  auto* third = new NUVInternalError(3U);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(second, nullptr);
  EXPECT_NE(third, nullptr);
  first->Release();
  third->Release();
}
