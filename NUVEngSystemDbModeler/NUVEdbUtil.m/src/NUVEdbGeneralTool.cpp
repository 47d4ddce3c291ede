#include "NUVEdbGeneralTool.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "NUVEdbSupport.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVSession.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbGeneralTool"};

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The two hexadecimal digits of each byte.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  std::array<std::array<char, 2>, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = {kHexDigits[b >> 4], kHexDigits[b & 0x0F]};
  return table;
}();

// The value of each hexadecimal digit; kNotHex for every other byte, a bit
// that survives the shift of a high digit too.
constexpr std::uint16_t kNotHex = 0x100;
constexpr std::array<std::uint16_t, 256> kHexValue = [] {
  std::array<std::uint16_t, 256> table{};
  table.fill(kNotHex);
  for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<std::uint16_t>(i);
  for (int i = 0; i < 6; ++i) {
    table['A' + i] = static_cast<std::uint16_t>(10 + i);
    table['a' + i] = static_cast<std::uint16_t>(10 + i);
  }
  return table;
}();

// The byte of one pair of digits; 0 when either is not a hexadecimal digit.
inline unsigned char PairValue(unsigned char high, unsigned char low) {
  const unsigned int value = static_cast<unsigned int>(kHexValue[high] << 4 | kHexValue[low]);
  return (value & (kNotHex << 4 | kNotHex)) ? 0 : static_cast<unsigned char>(value);
}
}  // namespace

NUVEdbGeneralTool::~NUVEdbGeneralTool() = default;

long NUVEdbGeneralTool::GetInterfaceFromSession(const GUID& iid, void** out) {
  long result = kSource.Failure();
  if (!out) return result;
  *out = nullptr;
  if (!nuvedb::Guarded([&] {
        NUVSession* session = nullptr;  // borrowed: the session takes no reference
        if (GetPtrSession(session) < 0 || !session) return;
        result = session->QueryInterface(iid, out);
      })) {
    result = kSource.Failure();
  }
  return result;
}

long NUVEdbGeneralTool::IsErrorFatal(const NUVError* error, unsigned char& fatal) {
  long result = kSource.Failure();
  if (!error) return result;
  nuvedb::Guarded([&] {
    fatal = error->GetInformationOnErrorType() == NUVErrorTypeFatal ? 1 : 0;
    result = kSource.Success();
  });
  return result;
}

NUVEdsMetadataTool* NUVEdbGeneralTool::GetMetadataTool() {
  NUVEdsMetadataTool* tool = nullptr;
  nuvedb::Held<NUVIEdbMetadataToolProvider> provider;
  if (GetInterfaceFromSession(IID_NUVIEdbMetadataToolProvider, provider.out_void()) >= 0 && provider) {
    provider->ProvideMetadataTool(&tool);
  }
  return tool;
}

long NUVEdbGeneralTool::GetCurrentDatabaseHandle(const GUID& iid, void** out) {
  long result = kSource.Failure();
  if (!out) return result;
  *out = nullptr;
  nuvedb::Held<NUVIEdbDatabaseContext> context;
  if (!nuvedb::Guarded([&] {
        if (GetInterfaceFromSession(IID_NUVIEdbDatabaseContext, context.out_void()) < 0 || !context) return;
        NUVUnicodeString database;
        if (context->GetCurrentDatabase(database) < 0 || database.HasNoCharacter()) return;
        result = context->GetDatabaseHandle(database, iid, out);
      })) {
    result = kSource.Failure();
  }
  return result;
}

unsigned char NUVEdbGeneralTool::CheckError(const long& code, const NUVUnicodeString& first,
                                            const NUVUnicodeString& second) {
  unsigned char answer = 1;
  // Released in reverse order, the error before the reporter, also when an
  // error of another kind passes through.
  nuvedb::Held<NUVIEdbErrorReporter> reporter;
  nuvedb::Held<NUVError> recorded;
  nuvedb::Guarded([&] {
    *recorded.out() = NUVError::NUVGetLastError(code, nullptr);
    if (!recorded) return;
    unsigned char fatal = 0;
    if (IsErrorFatal(recorded.get(), fatal) >= 0 && fatal) answer = 0;
    if (GetInterfaceFromSession(IID_NUVIEdbErrorReporter, reporter.out_void()) >= 0 && reporter) {
      reporter->ReportError(recorded.get(), first, second);
    }
  });
  return answer;
}

NUVUnicodeString NUVEdbGeneralTool::SequenceToUnicode(const _SEQUENCE_SEQUENCE_octet& bytes) {
  const unsigned long n = bytes.length();
  if (n == 0) return {};
  std::string text(2 * n, '0');
  const unsigned char* in = bytes.data();
  char* out = text.data();
  for (unsigned long i = 0; i < n; ++i) std::memcpy(out + 2 * i, kHexPairs[in[i]].data(), 2);
  return NUVUnicodeString(std::string_view(text));
}

_SEQUENCE_SEQUENCE_octet NUVEdbGeneralTool::UnicodeToSequence(const NUVUnicodeString& text) {
  _SEQUENCE_SEQUENCE_octet bytes;
  const int characters = text.GetLengthInChar();
  if (characters == 0) return bytes;
  const std::string_view narrow = text.View();
  // Pairs come from the bytes; text beyond plain ASCII has fewer pairs there.
  const unsigned long n = std::min<unsigned long>(static_cast<unsigned long>(characters) / 2, narrow.size() / 2);
  bytes.length(n);
  unsigned char* out = bytes.data();
  for (unsigned long i = 0; i < n; ++i) {
    out[i] = PairValue(static_cast<unsigned char>(narrow[2 * i]), static_cast<unsigned char>(narrow[2 * i + 1]));
  }
  return bytes;
}

_SEQUENCE_SEQUENCE_octet NUVEdbGeneralTool::SequenceToSequence(const _SEQUENCE_octet& bytes) {
  _SEQUENCE_SEQUENCE_octet result;
  result.length(static_cast<unsigned long>(bytes.length()));
  if (bytes.length() > 0) std::memcpy(result.data(), bytes.data(), static_cast<size_t>(bytes.length()));
  return result;
}

_SEQUENCE_octet NUVEdbGeneralTool::SequenceToSequence(const _SEQUENCE_SEQUENCE_octet& bytes) {
  if (bytes.length() == 0) return {};
  return _SEQUENCE_octet(static_cast<long>(bytes.length()), bytes.data());
}

_SEQUENCE_SEQUENCE_octet NUVEdbGeneralTool::CORBAToSequence(const CORBAAny& any) {
  _SEQUENCE_octet octets;
  any >> octets;
  return SequenceToSequence(octets);
}
