#include "ParameterChecks.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "Failure.h"
#include "NUVHostDialect.h"
#include "TextParsing.h"

namespace {

// The shortest text that reads back as the value.
std::string ShortestText(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

bool Holds(const ParameterOption& entry, const std::string& name) {
  return std::find(entry.names.begin(), entry.names.end(), name) != entry.names.end();
}

// The parameter that has the name; null when none has.
const ParameterOption* Owner(const std::vector<ParameterOption>& parameters, const std::string& name) {
  const auto found = std::find_if(parameters.begin(), parameters.end(),
                                  [&](const ParameterOption& entry) { return Holds(entry, name); });
  return found == parameters.end() ? nullptr : &*found;
}

bool Overlap(size_t begin, size_t length, const NUVEdbWrittenValue& value) {
  return begin < value.begin + value.length && value.begin < begin + length;
}

// The double a recorded value of the parameter stands for: index counts
// the parameter's recorded values in text order.
double Meant(const ParameterOption& entry, const NUVEdbWrittenValue& value, size_t index) {
  if (!entry.condition.empty()) return entry.doubles[index % entry.doubles.size()];
  const auto name = std::find(entry.names.begin(), entry.names.end(), value.parameter);
  return entry.doubles[static_cast<size_t>(name - entry.names.begin()) % entry.doubles.size()];
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

void CheckValuesHoldNoLaterName(const std::vector<ParameterOption>& parameters,
                                const std::vector<std::string>& written) {
  for (size_t i = 0; i < parameters.size() && i < written.size(); ++i) {
    for (size_t j = i + 1; j < parameters.size(); ++j) {
      for (const std::string& later : parameters[j].names) {
        if (written[i].find(later) == std::string::npos) continue;
        throw Failure(kUsageError, parameters[i].label + ": the value holds " + later +
                                       ", the name of a parameter given after it");
      }
    }
  }
}

void CheckNoCommentMade(const std::string& statement, const std::string& finished,
                        const std::vector<NUVEdbWrittenValue>& values,
                        const std::vector<ParameterOption>& parameters, const NUVHostDialect& dialect) {
  if (dialect.CountComments(finished) <= dialect.CountComments(statement)) return;
  for (const NUVHostLexeme& lexeme : dialect.Lexemes(finished)) {
    if (lexeme.kind != NUVHostLexeme::Class::Comment) continue;
    for (const NUVEdbWrittenValue& value : values) {
      const ParameterOption* entry = Owner(parameters, value.parameter);
      if (!entry || !Overlap(lexeme.begin, lexeme.length, value)) continue;
      throw Failure(kUsageError, entry->label +
                                     ": the value starts a comment in the statement; write the name in "
                                     "brackets, as (" +
                                     value.parameter + ")");
    }
  }
  throw Failure(kUsageError,
                "the values start a comment in the statement; write the names in brackets, as (:A)");
}

void CheckDoublesKept(const std::string& finished, const std::vector<NUVEdbWrittenValue>& values,
                      const std::vector<ParameterOption>& parameters) {
  for (const ParameterOption& entry : parameters) {
    if (entry.doubles.empty()) continue;
    size_t index = 0;  // the parameter's recorded values so far
    for (const NUVEdbWrittenValue& value : values) {
      if (!Holds(entry, value.parameter)) continue;
      const double meant = Meant(entry, value, index++);
      if (value.cut || value.begin + value.length > finished.size()) continue;
      const std::string text = finished.substr(value.begin, value.length);
      double readBack = 0;
      if (ParseDouble(text, readBack) == NumberStatus::Ok && readBack == meant) continue;
      throw Failure(kUsageError, entry.label + ": " + ShortestText(meant) + " would be written as " + text +
                                     " (six significant digits); write the number in the statement instead");
    }
  }
}
