#include "NUVHostWrittenText.h"

#include <algorithm>

#include "NUVEdsGeneralTool.h"

namespace {

using Class = NUVHostLexeme::Class;

// The lexemes that share at least one byte with the value's text.
std::pair<size_t, size_t> Overlapping(const std::vector<NUVHostLexeme>& lexemes, const NUVEdbWrittenValue& value) {
  const size_t end = value.begin + value.length;
  const auto first = std::partition_point(lexemes.begin(), lexemes.end(), [&](const NUVHostLexeme& lexeme) {
    return lexeme.begin + lexeme.length <= value.begin;
  });
  auto last = first;
  while (last != lexemes.end() && last->begin < end) ++last;
  return {static_cast<size_t>(first - lexemes.begin()), static_cast<size_t>(last - lexemes.begin())};
}

bool PrecededByWord(const std::vector<NUVHostLexeme>& lexemes, size_t index) {
  while (index > 0) {
    const NUVHostLexeme& before = lexemes[--index];
    if (before.kind != Class::Blank && before.kind != Class::Comment) return before.kind == Class::Word;
  }
  return false;
}

std::string Named(const NUVEdbWrittenValue& value) {
  return (value.listItem ? "an item of the list " : "the value of ") + value.parameter;
}

}  // namespace

NUVHostWrittenText::NUVHostWrittenText(std::string_view text) : text_(text) {
  fromLibrary_ = NUVEdbStatementProvenance::Find(text, written_);
}

std::string NUVHostWrittenText::Check(const std::vector<NUVHostLexeme>& lexemes) {
  literals_.clear();
  for (const NUVEdbWrittenValue& value : written_) {
    if (value.begin + value.length > text_.size()) return Named(value) + " lies outside the statement";
    if (value.cut) {
      return Named(value) + " was cut apart by the substitution of a later parameter's name; give the "
                            "parameters names that their values cannot hold";
    }
    const auto [first, last] = Overlapping(lexemes, value);
    if (value.form == NUVEdbWrittenValue::Form::String) {
      const bool alone = last == first + 1 && lexemes[first].kind == Class::StringLiteral &&
                         lexemes[first].begin == value.begin && lexemes[first].length == value.length;
      if (!alone) {
        return Named(value) + " is a string, written with its own quotes, and would not stand as a literal of "
                              "its own here: write the name without quotes around it, outside any literal, "
                              "quoted name or comment";
      }
      if (!literals_.empty() && literals_.back().begin + literals_.back().length > value.begin)
        return Named(value) + " overlaps another value";
      const std::string_view body = text_.substr(value.begin + 1, value.length - 2);
      literals_.push_back({value.begin, value.length,
                           std::string(NUVEdsGeneralTool().DecodeBlanks(NUVUnicodeString(body)).View()),
                           PrecededByWord(lexemes, first)});
      continue;
    }
    // A key obeys the key rule and may stand inside the author's quotes
    // (':KEY'); a list of numbers there would be text, not the list.
    if (value.listItem && value.form == NUVEdbWrittenValue::Form::Number) {
      for (size_t i = first; i < last; ++i) {
        if (lexemes[i].kind == Class::StringLiteral || lexemes[i].kind == Class::Quoted ||
            lexemes[i].kind == Class::Comment) {
          return Named(value) + " would stand inside a literal, a quoted name or a comment: write the list's "
                                "name outside them";
        }
      }
    }
    const std::string_view written = text_.substr(value.begin, value.length);
    if (!written.empty() && written.front() == '-' && value.begin > 0 && text_[value.begin - 1] == '-')
      return Named(value) + " is negative and would make a comment of the text after it: write a blank or "
                            "brackets between the '-' and the name";
  }
  return {};
}

std::string NUVHostWrittenText::Rewritten(
    const std::function<std::string(const NUVHostWrittenLiteral&, size_t index)>& write) const {
  std::string text;
  text.reserve(text_.size() + 8 * literals_.size());
  size_t from = 0;
  for (size_t i = 0; i < literals_.size(); ++i) {
    const NUVHostWrittenLiteral& literal = literals_[i];
    text.append(text_.substr(from, literal.begin - from));
    text += write(literal, i);
    from = literal.begin + literal.length;
  }
  text.append(text_.substr(from));
  return text;
}
