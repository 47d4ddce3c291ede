#pragma once
#include <string_view>
#include <vector>

#include "NUVEdbStatementProvenance.h"

namespace nuvedb {

// Records on this thread that pre-processing finished text with these
// value texts written into it; a later record of the same text replaces
// this one, and the oldest record goes when the thread holds 64.
void RecordFinishedStatement(std::string_view text, std::vector<NUVEdbWrittenValue> values);

}  // namespace nuvedb
