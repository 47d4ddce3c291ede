#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NUVEdbGeneralTool.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVInternalError.h"
#include "NUVRef.h"
#include "TestHost.h"

namespace {

class GeneralTool : public ::testing::Test {
 protected:
  void SetUp() override { host->Install(); }
  void TearDown() override { TestHost::Uninstall(); }
  NUVRef<TestHost> host = NUVAdopt(new TestHost);
  NUVEdbGeneralTool tool;
};

// Records an error of the type for a code of its own.
long Record(NUVErrorType type) {
  auto error = NUVAdopt(new NUVInternalError(9, "M", "C"));
  error->SetInformationOnErrorType(type);
  return NUVError::GetReturn(0, error.get(), nullptr, __FILE__, __LINE__);
}

}  // namespace

TEST_F(GeneralTool, CheckErrorAnswersByTheRecordedErrorsTypeAndReportsIt) {
  const struct {
    long code;
    bool reporter;
    unsigned char answer;
    size_t reports;
  } cases[] = {{Record(NUVErrorTypeFatal), true, 0, 1},
               {Record(NUVErrorTypeFatal), false, 0, 0},
               {Record(NUVErrorTypeWarning), true, 1, 1},
               {Record(NUVErrorTypeUnknown), true, 1, 1},
               {NUVError::kFailureCode, true, 1, 0}};  // no error recorded
  for (const auto& c : cases) {
    host->reports.clear();
    host->offerReporter = c.reporter;
    EXPECT_EQ(tool.CheckError(c.code, "first", "second"), c.answer);
    ASSERT_EQ(host->reports.size(), c.reports);
    for (const auto& report : host->reports) EXPECT_EQ(report.first + "|" + report.second, "first|second");
  }
  unsigned char fatal = 7;  // for an error, the answers above show IsErrorFatal's flag
  EXPECT_LT(tool.IsErrorFatal(nullptr, fatal), 0);
  EXPECT_EQ(fatal, 7);
}

// The host suite covers what a host hands out, the broker's tests a host
// without a context or a provider; here, what fails without the rest.
TEST_F(GeneralTool, NothingIsHandedOutWithoutTheHostPartsItComesFrom) {
  EXPECT_LT(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, nullptr), 0);
  host->currentDatabase = "";
  void* out = &tool;
  EXPECT_LT(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, &out), 0);
  EXPECT_EQ(out, nullptr);
  TestHost::Uninstall();
  EXPECT_EQ(tool.GetMetadataTool(), nullptr);
  out = &tool;
  EXPECT_LT(tool.GetInterfaceFromSession(IID_NUVIEdbErrorReporter, &out), 0);
  EXPECT_EQ(out, nullptr);
}

// Bytes write as two upper-case digits each and read back; a text reads
// pair by pair, a pair that begins with a hex digit as "%X" reads it and
// any other as 0; text beyond ASCII has fewer characters than bytes and so
// fewer pairs.
TEST(OctetConversions, HexadecimalTextRoundTrips) {
  NUVEdbGeneralTool tool;
  const unsigned char raw[] = {0x0A, 0xFF, 0x10, 0x00, 0x7F};
  const _SEQUENCE_SEQUENCE_octet bytes = tool.SequenceToSequence(_SEQUENCE_octet(5, raw));
  EXPECT_EQ(tool.SequenceToUnicode(bytes), "0AFF10007F");
  EXPECT_EQ(tool.SequenceToUnicode(_SEQUENCE_SEQUENCE_octet()), "");
  const struct {
    const char* text;
    std::vector<unsigned char> bytes;
  } cases[] = {{"000102030405060708090A0B0C0D0E0F10111213",
                {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},
               {"0AFF10", {0x0A, 0xFF, 0x10}},
               {"0aFf", {0x0A, 0xFF}},
               {"ABC", {0xAB}},
               {"", {}},
               {"A", {}},
               {"ZZ1g", {0x00, 0x01}},
               {"AG9ZF 0x", {0x0A, 0x09, 0x0F, 0x00}},
               {"1/2:3@4`5G", {0x01, 0x02, 0x03, 0x04, 0x05}},
               {"/1:2@3`4G5", {0x00, 0x00, 0x00, 0x00, 0x00}},
               {"\303\251AB", {0x00}},
               {"AB\303\251CD", {0xAB, 0x00}}};
  for (const auto& c : cases) {
    const _SEQUENCE_SEQUENCE_octet out = tool.UnicodeToSequence(c.text);
    EXPECT_EQ(std::vector<unsigned char>(out.data(), out.data() + out.length()), c.bytes) << c.text;
  }
  CORBAAny any;
  EXPECT_EQ(tool.CORBAToSequence(any).length(), 0U);
  any <<= _SEQUENCE_octet(2, raw);
  EXPECT_EQ(tool.SequenceToUnicode(tool.CORBAToSequence(any)), "0AFF");
}
