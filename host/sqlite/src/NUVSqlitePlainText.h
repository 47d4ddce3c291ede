#pragma once
#include <string>
#include <string_view>
#include <vector>

// A finished statement made ready for a database that keeps its texts as
// they are: each string literal the library wrote (one without an
// apostrophe inside) is decoded from its blank-encoded form. Literals the
// statement's author wrote with doubled apostrophes stay as they are.
class NUVSqlitePlainText {
 public:
  explicit NUVSqlitePlainText(std::string_view statement);

  // The statement with a "?" in place of each decoded literal.
  const std::string& WithParameters() const { return withParameters_; }
  // The decoded texts, in the order of their "?".
  const std::vector<std::string>& Values() const { return values_; }
  // The statement with each decoded literal written back as an SQL literal
  // (apostrophes doubled), for statements that take no parameters; false
  // when a value holds a zero byte, which no literal can carry.
  bool Inlined(std::string& text) const;

 private:
  std::string withParameters_;
  std::vector<std::string> values_;
  std::vector<std::string> pieces_;  // the text between the literals, one more than values_
};
