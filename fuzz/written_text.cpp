// What the library writes into a statement and what a host makes of it:
// any statement (the input up to its first zero byte) with two string
// parameters :A and :B (the rest of the input, split at the next zero
// byte) is finished, and the SQLite host's check of the finished text
// either refuses it or accepts only string values that stand each as one
// string literal of its own, which the host then replaces, and nothing
// else, when it binds them.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "NUVEdbBrokerTool.h"
#include "NUVEdbSQLData.h"
#include "NUVEdsGeneralTool.h"
#include "NUVHostDialect.h"
#include "NUVHostWrittenText.h"
#include "NUVSqliteHost.h"
#include "TestLists.h"

namespace {

const NUVHostDialect& Dialect() {
  static std::unique_ptr<NUVSqliteHost> host = [] {
    std::string message;
    return NUVSqliteHost::OpenSample(message);
  }();
  return host->Dialect();
}

std::string_view Next(std::string_view& rest) {
  const size_t end = rest.find('\0');
  const std::string_view piece = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string statement(Next(rest));
  const NUVUnicodeString a(Next(rest));
  const NUVUnicodeString b(rest);
  if (statement.empty()) return 0;
  OwnedList parameters{new NUVEdbSQLData(":A", a, 0), new NUVEdbSQLData(":B", b, 0)};
  NUVUnicodeString finished;
  NUVEdbBrokerTool().PreProcessSQLStatement(statement.c_str(), parameters, finished);
  NUVHostWrittenText text(finished.View());
  // A statement of no character (continuation bytes alone) is left as it
  // was, untouched and unrecorded.
  if (finished.View().empty()) return 0;
  FUZZ_CHECK(text.FromLibrary());
  const NUVHostDialect& dialect = Dialect();
  const std::vector<NUVHostLexeme> lexemes = dialect.Lexemes(text.Text());
  if (!text.Check(lexemes).empty()) return 0;
  // Each accepted literal is one string literal token, and decodes to one
  // of the two values.
  size_t from = 0;
  for (const NUVHostWrittenLiteral& literal : text.Literals()) {
    FUZZ_CHECK(literal.begin >= from);
    bool token = false;
    for (const NUVHostLexeme& lexeme : lexemes)
      token = token || (lexeme.kind == NUVHostLexeme::Class::StringLiteral && lexeme.begin == literal.begin &&
                        lexeme.length == literal.length);
    FUZZ_CHECK(token);
    const std::string_view body = text.Text().substr(literal.begin + 1, literal.length - 2);
    FUZZ_CHECK(body.find('\'') == std::string_view::npos);
    FUZZ_CHECK(NUVEdsGeneralTool().EncodeBlanks(NUVUnicodeString(literal.value)).View() == body);
    from = literal.begin + literal.length;
  }
  // Binding changes those literals and nothing else: the rewritten text is
  // the finished one with each literal's bytes in place of "?".
  const std::string bound = text.Rewritten([](const NUVHostWrittenLiteral&, size_t) { return std::string("?"); });
  std::string expected;
  size_t at = 0;
  for (const NUVHostWrittenLiteral& literal : text.Literals()) {
    expected.append(text.Text().substr(at, literal.begin - at));
    expected += '?';
    at = literal.begin + literal.length;
  }
  expected.append(text.Text().substr(at));
  FUZZ_CHECK(bound == expected);
  return 0;
}
