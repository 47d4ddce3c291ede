#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>


#include "NUVEdbGeneralTool.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVInternalError.h"
#include "NUVXHContext.h"
#include "TestHost.h"

namespace {

class GeneralTool : public ::testing::Test {
 protected:
  void SetUp() override {
    host = new TestHost;
    host->Install();
  }
  void TearDown() override {
    TestHost::Uninstall();
    host->Release();
  }
  // Records an error of the type for a code of its own.
  static long Record(NUVErrorType type) {
    auto* error = new NUVInternalError(9, "M", "C");
    error->SetInformationOnErrorType(type);
    const long code = NUVError::GetReturn(0, error, nullptr, __FILE__, __LINE__);
    error->Release();
    return code;
  }
  TestHost* host = nullptr;
  NUVEdbGeneralTool tool;
};

}  // namespace

TEST_F(GeneralTool, CheckErrorAnswersByTheRecordedErrorsTypeAndReportsIt) {
  const struct {
    NUVErrorType type;
    bool reporter;
    unsigned char answer;
    size_t reports;
  } cases[] = {{NUVErrorTypeFatal, true, 0, 1},
               {NUVErrorTypeFatal, false, 0, 0},
               {NUVErrorTypeWarning, true, 1, 1},
               {NUVErrorTypeUnknown, true, 1, 1}};
  for (const auto& c : cases) {
    host->reports.clear();
    host->offerReporter = c.reporter;
    EXPECT_EQ(tool.CheckError(Record(c.type), "first", "second"), c.answer);
    ASSERT_EQ(host->reports.size(), c.reports);
    if (c.reports) {
      EXPECT_EQ(host->reports[0].first, "first");
      EXPECT_EQ(host->reports[0].second, "second");
    }
  }
  host->reports.clear();
  EXPECT_EQ(tool.CheckError(NUVError::kFailureCode, "a", "b"), 1);
  EXPECT_TRUE(host->reports.empty());
}

TEST_F(GeneralTool, IsErrorFatalSetsTheFlagOnlyForAnError) {
  unsigned char fatal = 7;
  EXPECT_LT(tool.IsErrorFatal(nullptr, fatal), 0);
  EXPECT_EQ(fatal, 7);
  NUVInternalError error(1U);
  error.SetInformationOnErrorType(NUVErrorTypeFatal);
  EXPECT_GE(tool.IsErrorFatal(&error, fatal), 0);
  EXPECT_EQ(fatal, 1);
  error.SetInformationOnErrorType(NUVErrorTypeInformation);
  EXPECT_GE(tool.IsErrorFatal(&error, fatal), 0);
  EXPECT_EQ(fatal, 0);
}

TEST_F(GeneralTool, DatabaseHandleNeedsAContextAndACurrentDatabase) {
  void* out = &tool;
  EXPECT_GE(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, &out), 0);
  ASSERT_NE(out, nullptr);
  static_cast<NUVIEdbDatabaseHandle*>(out)->Release();
  EXPECT_LT(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, nullptr), 0);
  host->currentDatabase = "";
  out = &tool;
  EXPECT_LT(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, &out), 0);
  EXPECT_EQ(out, nullptr);
  host->currentDatabase = "main";
  host->offerContext = false;
  EXPECT_LT(tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, &out), 0);
  EXPECT_EQ(out, nullptr);
}

TEST_F(GeneralTool, MetadataToolComesWithAReferenceAndRaisesReachTheCaller) {
  NUVEdsMetadataTool* metadata = tool.GetMetadataTool();
  ASSERT_NE(metadata, nullptr);
  EXPECT_EQ(metadata->GetPrimaryKey("PART"), "ID");
  metadata->Release();
  host->offerProvider = false;
  EXPECT_EQ(tool.GetMetadataTool(), nullptr);
  host->offerProvider = true;
  host->provider.raiseAt = HostScript::kEveryCall;
  const long flushes = NUVFlushCount();
  NUVXHContext frame;
  EXPECT_FALSE(frame.Run([&] { tool.GetMetadataTool(); }));
  EXPECT_EQ(NUVFlushCount(), flushes);
  TestHost::Uninstall();
  EXPECT_EQ(tool.GetMetadataTool(), nullptr);
  void* out = &tool;
  EXPECT_LT(tool.GetInterfaceFromSession(IID_NUVIEdbErrorReporter, &out), 0);
  EXPECT_EQ(out, nullptr);
}

TEST(OctetConversions, HexadecimalTextRoundTrips) {
  NUVEdbGeneralTool tool;
  const unsigned char raw[] = {0x0A, 0xFF, 0x10, 0x00, 0x7F};
  _SEQUENCE_SEQUENCE_octet bytes = tool.SequenceToSequence(_SEQUENCE_octet(5, raw));
  EXPECT_EQ(tool.SequenceToUnicode(bytes), "0AFF10007F");
  EXPECT_EQ(tool.SequenceToUnicode(_SEQUENCE_SEQUENCE_octet()), "");
  const struct {
    const char* text;
    std::vector<unsigned char> bytes;
  } cases[] = {{"0AFF10", {0x0A, 0xFF, 0x10}}, {"0aFf", {0x0A, 0xFF}}, {"ABC", {0xAB}},
               {"", {}},                        {"A", {}},               {"ZZ1g", {0x00, 0x00}}};
  for (const auto& c : cases) {
    const _SEQUENCE_SEQUENCE_octet out = tool.UnicodeToSequence(c.text);
    ASSERT_EQ(out.length(), c.bytes.size()) << c.text;
    for (unsigned long i = 0; i < out.length(); ++i) EXPECT_EQ(out[i], c.bytes[i]) << c.text;
  }
  const _SEQUENCE_octet back = tool.SequenceToSequence(bytes);
  ASSERT_EQ(back.length(), 5);
  for (long i = 0; i < 5; ++i) EXPECT_EQ(back[i], raw[i]);
  EXPECT_EQ(tool.SequenceToSequence(_SEQUENCE_SEQUENCE_octet()).length(), 0);
  CORBAAny any;
  EXPECT_EQ(tool.CORBAToSequence(any).length(), 0U);
  any <<= _SEQUENCE_octet(2, raw);
  EXPECT_EQ(tool.SequenceToUnicode(tool.CORBAToSequence(any)), "0AFF");
}

TEST(OctetConversions, LongTextsAgreeWithThePairByPairReading) {
  NUVEdbGeneralTool tool;
  _SEQUENCE_SEQUENCE_octet every;
  every.length(256 + 37);
  for (unsigned long i = 0; i < every.length(); ++i) every[i] = static_cast<unsigned char>(i * 7 + i / 256);
  const NUVUnicodeString hex = tool.SequenceToUnicode(every);
  const _SEQUENCE_SEQUENCE_octet back = tool.UnicodeToSequence(hex);
  ASSERT_EQ(back.length(), every.length());
  for (unsigned long i = 0; i < every.length(); ++i) ASSERT_EQ(back[i], every[i]) << i;

  // A pair holding anything but two digits reads as 0, wherever it falls;
  // text beyond ASCII has fewer characters than bytes and so fewer pairs.
  auto digit = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  const std::string base = "0123456789abcdefABCDEF0123456789fedcba9876543210FFEEDDCCBBAA0099";
  for (const std::string odd : {"g", "/", ":", "@", "G", "`", "\xC3\xA9"}) {
    for (size_t at = 0; at < base.size(); at += 5) {
      const std::string text = base.substr(0, at) + odd + base.substr(at);
      const NUVUnicodeString string(text);
      const size_t pairs = std::min<size_t>(static_cast<size_t>(string.GetLengthInChar()) / 2, text.size() / 2);
      const _SEQUENCE_SEQUENCE_octet out = tool.UnicodeToSequence(string);
      ASSERT_EQ(out.length(), pairs) << text;
      for (size_t i = 0; i < pairs; ++i) {
        const std::string pair = text.substr(2 * i, 2);
        const int expected = digit(pair[0]) && digit(pair[1]) ? std::stoi(pair, nullptr, 16) : 0;
        ASSERT_EQ(out[i], expected) << text << " pair " << i;
      }
    }
  }
}
