#include "NUVEdbGeneralTool.h"

#include <algorithm>
#include <cstring>

#include "NUVEdbGuarded.h"
#include "NUVEdbHexDigits.h"
#include "NUVEdbResultCodes.h"
#include "NUVEdsMetadataTool.h"
#include "NUVIEdbDatabaseContext.h"
#include "NUVIEdbErrorReporter.h"
#include "NUVIEdbMetadataToolProvider.h"
#include "NUVRef.h"
#include "NUVSession.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbGeneralTool"};
}  // namespace

NUVEdbGeneralTool::~NUVEdbGeneralTool() = default;

long NUVEdbGeneralTool::GetInterfaceFromSession(const GUID& iid, void** out) {
  if (!out) return kSource.Failure();
  *out = nullptr;
  return nuvedb::GuardedCode(kSource, [&] {
    NUVSession* session = nullptr;  // borrowed: the session takes no reference
    if (GetPtrSession(session) < 0 || !session) return kSource.Failure();
    return session->QueryInterface(iid, out);
  });
}

long NUVEdbGeneralTool::IsErrorFatal(const NUVError* error, unsigned char& fatal) {
  if (!error) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    fatal = error->GetInformationOnErrorType() == NUVErrorTypeFatal ? 1 : 0;
    return kSource.Success();
  });
}

NUVEdsMetadataTool* NUVEdbGeneralTool::GetMetadataTool() {
  NUVEdsMetadataTool* tool = nullptr;
  NUVRef<NUVIEdbMetadataToolProvider> provider;
  if (GetInterfaceFromSession(IID_NUVIEdbMetadataToolProvider, provider.out_void()) >= 0 && provider) {
    provider->ProvideMetadataTool(&tool);
  }
  return tool;
}

long NUVEdbGeneralTool::GetCurrentDatabaseHandle(const GUID& iid, void** out) {
  if (!out) return kSource.Failure();
  *out = nullptr;
  NUVRef<NUVIEdbDatabaseContext> context;
  return nuvedb::GuardedCode(kSource, [&] {
    if (GetInterfaceFromSession(IID_NUVIEdbDatabaseContext, context.out_void()) < 0 || !context) {
      return kSource.Failure();
    }
    NUVUnicodeString database;
    if (context->GetCurrentDatabase(database) < 0 || database.HasNoCharacter()) return kSource.Failure();
    return context->GetDatabaseHandle(database, iid, out);
  });
}

unsigned char NUVEdbGeneralTool::CheckError(const long& code, const NUVUnicodeString& first,
                                            const NUVUnicodeString& second) {
  unsigned char answer = 1;
  // Released in reverse order, the error before the reporter, also when an
  // error of another kind passes through.
  NUVRef<NUVIEdbErrorReporter> reporter;
  NUVRef<NUVError> recorded;
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
  NUVUnicodeString text;
  const unsigned long n = bytes.length();
  if (n > 0) nuvedb::EncodeHexPairs(bytes.data(), n, text.PrepareOverwrite(2 * static_cast<size_t>(n)));
  return text;
}

_SEQUENCE_SEQUENCE_octet NUVEdbGeneralTool::UnicodeToSequence(const NUVUnicodeString& text) {
  _SEQUENCE_SEQUENCE_octet bytes;
  const std::string_view narrow = text.View();
  // Pairs come from the bytes; text beyond plain ASCII has fewer characters
  // than bytes, and so fewer pairs.
  unsigned long n = static_cast<unsigned long>(narrow.size() / 2);
  if (n == 0) return bytes;
  bytes.LengthForOverwrite(n);  // the decoding writes every byte
  if (!nuvedb::DecodeHexPairs(narrow.data(), n, bytes.data())) {
    n = std::min(n, static_cast<unsigned long>(text.GetLengthInChar()) / 2);
    bytes.length(n);
  }
  return bytes;
}

_SEQUENCE_SEQUENCE_octet NUVEdbGeneralTool::SequenceToSequence(const _SEQUENCE_octet& bytes) {
  _SEQUENCE_SEQUENCE_octet result;
  result.LengthForOverwrite(static_cast<unsigned long>(bytes.length()));
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
