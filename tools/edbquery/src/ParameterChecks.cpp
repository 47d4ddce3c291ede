#include "ParameterChecks.h"

#include <charconv>
#include <utility>

#include "Failure.h"
#include "NUVEdsGeneralTool.h"
#include "NUVSqlTextScan.h"
#include "NUVUnicodeString.h"
#include "TextParsing.h"

namespace {

// A name and the text that replaces it.
using Insertion = std::pair<std::string, std::string>;

// A double as the library writes it into a statement.
std::string WrittenDouble(double value) {
  return std::string(NUVUnicodeString().BuildFromNum(value, "%g").View());
}

// The shortest text that reads back as the value.
std::string ShortestText(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

// The text of item k of the parameter as the library writes it.
std::string ValueText(const ParameterOption& entry, size_t k) {
  switch (entry.kind) {
    case ParameterKind::Int:
    case ParameterKind::IntList:
      return std::to_string(entry.integers[k]);
    case ParameterKind::Double:
    case ParameterKind::DoubleList:
      return WrittenDouble(entry.doubles[k]);
    case ParameterKind::String:
    case ParameterKind::StringList:
      return "'" +
             std::string(NUVEdsGeneralTool()
                             .EncodeBlanks(NUVUnicodeString(std::string_view(entry.texts[k])))
                             .View()) +
             "'";
    case ParameterKind::Object:
    case ParameterKind::ObjectList:
      break;
  }
  return entry.texts[k];
}

size_t ValueCount(const ParameterOption& entry) {
  return entry.integers.size() + entry.doubles.size() + entry.texts.size();
}

std::string JoiningWord(const std::string& condition) {
  return condition == "|" || condition == "!" || condition == "%" ? "^" + condition + "^" : condition;
}

// What substituting the parameter writes: one insertion per name.
std::vector<Insertion> Insertions(const ParameterOption& entry) {
  std::vector<Insertion> insertions;
  const size_t count = ValueCount(entry);
  if (entry.condition.empty()) {
    for (size_t k = 0; k < count && k < entry.names.size(); ++k)
      insertions.emplace_back(entry.names[k], ValueText(entry, k));
    return insertions;
  }
  std::string expression;
  for (size_t k = 0; k < count; ++k) {
    expression += k == 0 ? " ( " : " " + JoiningWord(entry.condition) + " ";
    expression += " " + entry.names.front() + ValueText(entry, k);
  }
  insertions.emplace_back(entry.names.front(), expression + " ) ");
  return insertions;
}

std::string ReplaceAll(std::string text, const std::string& name, const std::string& value) {
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
    text.replace(at, name.size(), value);
  }
  return text;
}

}  // namespace

void CheckNamesOccur(const std::string& statement, const std::vector<ParameterOption>& parameters) {
  for (const ParameterOption& entry : parameters) {
    for (const std::string& name : entry.names) {
      if (statement.find(name) == std::string::npos)
        throw Failure(kUsageError, entry.label + ": the statement does not hold the name " + name);
    }
  }
}

void CheckNamesApart(const std::vector<ParameterOption>& parameters) {
  // Every name with the parameter it belongs to, in the order of substitution.
  std::vector<std::pair<std::string, const ParameterOption*>> names;
  for (const ParameterOption& entry : parameters) {
    for (const std::string& name : entry.names) names.emplace_back(name, &entry);
  }
  for (size_t i = 0; i < names.size(); ++i) {
    for (size_t j = i + 1; j < names.size(); ++j) {
      if (names[j].first.find(names[i].first) == std::string::npos) continue;
      if (names[j].first == names[i].first)
        throw Failure(kUsageError,
                      names[j].second->label + ": the name " + names[j].first + " is given twice");
      throw Failure(kUsageError, names[i].second->label + ": the name " + names[i].first + " is part of " +
                                     names[j].first + ", given after it; give " + names[j].first + " first");
    }
  }
}

void CheckValuesHoldNoLaterName(const std::vector<ParameterOption>& parameters) {
  for (size_t i = 0; i < parameters.size(); ++i) {
    for (const Insertion& insertion : Insertions(parameters[i])) {
      for (size_t j = i + 1; j < parameters.size(); ++j) {
        for (const std::string& later : parameters[j].names) {
          if (insertion.second.find(later) == std::string::npos) continue;
          throw Failure(kUsageError, parameters[i].label + ": the value holds " + later +
                                         ", the name of a parameter given after it");
        }
      }
    }
  }
}

void CheckNoCommentMade(const std::string& statement, const std::string& finished,
                        const std::vector<ParameterOption>& parameters) {
  const size_t comments = NUVSqlTextScan::CountComments(statement);
  if (NUVSqlTextScan::CountComments(finished) <= comments) return;
  for (const ParameterOption& entry : parameters) {
    std::string alone = statement;
    for (const Insertion& insertion : Insertions(entry))
      alone = ReplaceAll(alone, insertion.first, insertion.second);
    if (NUVSqlTextScan::CountComments(alone) > comments) {
      throw Failure(kUsageError, entry.label +
                                     ": the value starts a comment in the statement; write the name in "
                                     "brackets, as (" +
                                     entry.names.front() + ")");
    }
  }
  throw Failure(kUsageError,
                "the values start a comment in the statement; write the names in brackets, as (:A)");
}

void CheckDoublesKept(const std::vector<ParameterOption>& parameters) {
  for (const ParameterOption& entry : parameters) {
    for (const double value : entry.doubles) {
      const std::string written = WrittenDouble(value);
      double readBack = 0;
      if (ParseDouble(written, readBack) == NumberStatus::Ok && readBack == value) continue;
      throw Failure(kUsageError, entry.label + ": " + ShortestText(value) + " would be written as " +
                                     written +
                                     " (six significant digits); write the number in the statement instead");
    }
  }
}
