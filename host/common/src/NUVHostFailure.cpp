#include "NUVHostFailure.h"

#include <array>

#include "NUVInternalError.h"
#include "NUVRef.h"

namespace {

// The host's recorded error: an internal error of its kind's id in the
// catalog "NUVHost", which also carries the SQLSTATE.
class NUVHostError final : public NUVInternalError {
 public:
  NUVHostError(NUVHostFailureKind kind, std::string sqlstate)
      : NUVInternalError(static_cast<unsigned int>(kind), NUVHostFailureName(kind), "NUVHost"),
        sqlstate_(std::move(sqlstate)) {}
  NUVError* CloneSelf() override { return new NUVHostError(*this); }
  const std::string& Sqlstate() const { return sqlstate_; }

 private:
  std::string sqlstate_;
};

constexpr std::array<const char*, 8> kNames = {
    "",        "HostRefused", "HostUnreachable",   "HostRetryable",
    "HostTimeout", "HostReadOnly", "HostCommitUnknown", "HostAuthenticationRefused",
};

}  // namespace

const char* NUVHostFailureName(NUVHostFailureKind kind) {
  const auto index = static_cast<size_t>(kind);
  return index < kNames.size() ? kNames[index] : "";
}

long NUVHostFailed(const NUVHostFailure& failure) {
  const NUVHostFailureKind kind = failure.Failed() ? failure.kind : NUVHostFailureKind::StatementFailed;
  const auto error = NUVAdopt(new NUVHostError(kind, failure.sqlstate));
  if (!error) return NUV_E_FAIL;
  error->SetMessageText(failure.message.c_str());
  return NUVError::GetReturn(0, error.get(), nullptr, __FILE__, __LINE__);
}

long NUVHostRefused(const std::string& message) {
  return NUVHostFailed({NUVHostFailureKind::StatementFailed, {}, message});
}

NUVHostFailure NUVHostFailureOf(long code) {
  if (code >= 0) return {};
  const auto error = NUVAdopt(NUVError::NUVGetLastError(code, nullptr));
  const auto* host = dynamic_cast<const NUVHostError*>(error.get());
  if (!host) return {};
  return {static_cast<NUVHostFailureKind>(host->GetId()), host->Sqlstate(), host->GetMessageText()};
}
