// What the library writes into a statement and what a host makes of it:
// any statement (the input up to its first zero byte) with two string
// parameters :A and :B (the next two pieces between zero bytes) is
// finished, and the SQLite host's check of the finished text either
// refuses it or accepts only string values that stand each as one string
// literal of its own, which the host then replaces, and nothing else, when
// it binds them.
#include "FuzzTestHost.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "NUVHostDialect.h"
#include "NUVHostWrittenText.h"
#include "TestLists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> pieces = FuzzPieces(FuzzText(data, size));
  pieces.resize(3);
  if (pieces[0].empty()) return 0;
  OwnedList parameters{new NUVEdbSQLData(":A", NUVUnicodeString(std::string_view(pieces[1])), 0),
                       new NUVEdbSQLData(":B", NUVUnicodeString(std::string_view(pieces[2])), 0)};
  NUVUnicodeString finished;
  NUVEdbBrokerTool().PreProcessSQLStatement(pieces[0].c_str(), parameters, finished);
  // A statement of no character (continuation bytes alone) is left as it
  // was, untouched and unrecorded.
  if (finished.View().empty()) return 0;
  NUVHostWrittenText text(finished.View());
  FUZZ_CHECK(text.FromLibrary());
  const std::vector<NUVHostLexeme> lexemes = FuzzSqliteHost().Dialect().Lexemes(text.Text());
  if (!text.Check(lexemes).empty()) return 0;
  // Each accepted literal is one string literal token and encodes one of
  // the values; binding replaces those literals and nothing else.
  std::string expected;
  size_t at = 0;
  for (const NUVHostWrittenLiteral& literal : text.Literals()) {
    FUZZ_CHECK(literal.begin >= at);
    bool token = false;
    for (const NUVHostLexeme& lexeme : lexemes)
      token = token || (lexeme.kind == NUVHostLexeme::Class::StringLiteral && lexeme.begin == literal.begin &&
                        lexeme.length == literal.length);
    FUZZ_CHECK(token);
    const std::string_view body = text.Text().substr(literal.begin + 1, literal.length - 2);
    FUZZ_CHECK(NUVEdsGeneralTool().EncodeBlanks(NUVUnicodeString(literal.value)).View() == body);
    expected.append(text.Text().substr(at, literal.begin - at)) += '?';
    at = literal.begin + literal.length;
  }
  expected.append(text.Text().substr(at));
  FUZZ_CHECK(text.Rewritten([](const NUVHostWrittenLiteral&, size_t) { return std::string("?"); }) ==
             expected);
  return 0;
}
