#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "NUVEdbBrokerTool.h"
#include "TestLists.h"

// The statement the broker finishes with the parameters, which this adopts.
// The broker records on this thread which parts of the text it wrote, so a
// host that runs exactly this text decodes those parts and nothing else.
inline std::string FinishedStatement(const char* statement, std::initializer_list<NUVBaseUnknown*> adopted) {
  OwnedList parameters(adopted);
  NUVUnicodeString result;
  EXPECT_GE(NUVEdbBrokerTool().PreProcessSQLStatement(statement, parameters, result), 0) << statement;
  return result.CastToCharPtr();
}
