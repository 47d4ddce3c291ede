// Keys a host accepts, written into statements between apostrophes or
// bare, never end a literal or add SQL; keys it does not accept give no
// object at all.
#include <random>
#include <regex>

#include "FinishedStatement.h"
#include "HostRunner.h"
#include "NUVEdbGeneralTool.h"
#include "NUVEdbSQLData.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVRef.h"

namespace {

// The accepted keys, written independently of the hosts' own check.
bool Accepted(const std::string& key) {
  static const std::regex form("[A-Za-z0-9_.]+(-[A-Za-z0-9_.]+)*");
  return key.size() <= 256 && std::regex_match(key, form);
}

// Hostile and ordinary keys, and a fixed run of short random ones over an
// alphabet of key chars and chars that build SQL.
std::vector<std::string> CandidateKeys() {
  std::vector<std::string> keys = {std::string(257, 'k'), std::string(256, 'k'), std::string("a\0b", 3)};
  for (const char* key :
       {"X' OR '1'='1", "1 OR 1=1", "P1'--", "a--",   "-1",  "1-",          "a-b-c",    "a--b",  "a/*",
        "a;b",          "a'b",      "a b",   "a%20b", "",    "a+b",         "\xC3\xA9", "\"x\"", "[x]",
        "`x`",          "42",       "007",   "1.5",   "1e5", "PR-2024-001", "_",        ".",     "x\n"})
    keys.push_back(key);
  std::mt19937 random(20261207);
  const std::string alphabet = "aZ09_.-' %;/*+\"()=";
  std::uniform_int_distribution<size_t> length(1, 6), pick(0, alphabet.size() - 1);
  for (int i = 0; i < 300; ++i) {
    std::string key(length(random), ' ');
    for (char& c : key) c = alphabet[pick(random)];
    keys.push_back(key);
  }
  return keys;
}

// The object the current database handle makes for the key; code is the
// creation's answer.
NUVRef<NUVIEdbSysObject> Created(const std::string& classType, const std::string& key, long& code) {
  NUVRef<NUVIEdbDatabaseHandle> handle;
  NUVEdbGeneralTool().GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void());
  NUVRef<NUVIEdbSysObject> object;
  if (!handle) return object;
  NUVRef<IUnknown> made;
  code = handle->CreateVolatileObject(classType.c_str(), NUVUnicodeString(std::string_view(key)), made.out());
  if (made) made->QueryInterface(IID_NUVIEdbSysObject, object.out_void());
  return object;
}

}  // namespace

TEST_P(HostSuite, KeysStayOneLiteralOrOneWordInStatements) {
  NUV_NEEDS_STATEMENTS();
  const std::string classType = host->ClassType();
  for (const std::string& key : CandidateKeys()) {
    long code = 0;
    const NUVRef<NUVIEdbSysObject> object = Created(classType, key, code);
    NUVRef<NUVIEdbSysObject> found;
    const long lookup = host->Query()->GetObjectFromKey(classType.c_str(),
                                                        NUVUnicodeString(std::string_view(key)), found.out());
    EXPECT_EQ(static_cast<bool>(object), Accepted(key)) << key;
    if (!Accepted(key)) {
      EXPECT_LT(lookup, 0) << key;
      EXPECT_EQ(found.get(), nullptr) << key;
    }
    if (!object) {
      EXPECT_LT(code, 0) << key;
      continue;
    }
    NUVUnicodeString given, type;
    object->GetObjectKey(given);
    object->GetObjectClassType(type);
    EXPECT_EQ(std::string(type.View()) + " " + std::string(given.View()), classType + " " + key);
    for (const char* statement : {"SELECT ':K'", "SELECT :K"}) {
      const std::string finished =
          FinishedStatement(statement, {new NUVEdbSQLData(":K", static_cast<const IUnknown*>(object.get()))});
      const std::string answer = run.LastValues(finished);
      if (statement[7] != ':') {
        EXPECT_EQ(answer, key) << finished;
      } else if (answer.rfind("<refused: ", 0) != 0) {
        // Bare, a word may name no column and be refused; it is never more.
        EXPECT_EQ(answer.find_first_of(" <"), std::string::npos) << finished << " gave " << answer;
      }
    }
  }
}
