#include "NUVEdbStatementProvenance.h"

#include <algorithm>
#include <string>
#include <utility>

#include "NUVEdbProvenanceRecord.h"

namespace {

struct FinishedStatement {
  std::string text;
  std::vector<NUVEdbWrittenValue> values;
};

constexpr size_t kRemembered = 64;

// The thread's finished statements, the most recently used first.
std::vector<FinishedStatement>& Finished() {
  thread_local std::vector<FinishedStatement> finished;
  return finished;
}

std::vector<FinishedStatement>::iterator Lookup(std::vector<FinishedStatement>& finished, std::string_view text) {
  return std::find_if(finished.begin(), finished.end(),
                      [&](const FinishedStatement& statement) { return statement.text == text; });
}

}  // namespace

bool NUVEdbStatementProvenance::Find(std::string_view text, std::vector<NUVEdbWrittenValue>& values) {
  std::vector<FinishedStatement>& finished = Finished();
  const auto found = Lookup(finished, text);
  if (found == finished.end()) return false;
  values = found->values;
  std::rotate(finished.begin(), found, found + 1);
  return true;
}

void NUVEdbStatementProvenance::Forget() { Finished().clear(); }

void nuvedb::RecordFinishedStatement(std::string_view text, std::vector<NUVEdbWrittenValue> values) {
  std::vector<FinishedStatement>& finished = Finished();
  auto slot = Lookup(finished, text);
  if (slot == finished.end() && finished.size() < kRemembered) {
    finished.push_back({std::string(text), {}});
    slot = finished.end() - 1;
  } else if (slot == finished.end()) {
    slot = finished.end() - 1;  // the least recently used gives its place
    slot->text.assign(text);
  }
  slot->values = std::move(values);
  std::rotate(finished.begin(), slot, slot + 1);
}
