#include "NUVHostSession.h"

#include <cstdio>

#include "NUVEdsMetadataTool.h"
#include "NUVError.h"
#include "NUVHostHandle.h"
#include "NUVHostMetadataTool.h"
#include "NUVHostQuery.h"

namespace {

constexpr size_t kKeptReports = 16;

template <class Interface>
long Offer(Interface* itf, void** out) {
  *out = itf;
  itf->AddRef();
  return NUV_S_OK;
}

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

std::string NUVHostKeyAttribute(const NUVHostBackend& backend, const std::string& classType) {
  const std::string table = backend.Table(classType);
  const std::string column = backend.KeyColumn(table);
  const bool folded = table != classType;
  const bool columnFolded = column.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos;
  return folded && columnFolded ? UpperCase(column) : column;
}

NUVHostSession::NUVHostSession(std::shared_ptr<NUVHostBackend> backend)
    : backend_(std::move(backend)),
      metadataTool_(NUVAdopt<NUVEdsMetadataTool>(new NUVHostMetadataTool(backend_))),
      handle_(NUVAdopt<NUVIEdbDatabaseHandle>(new NUVHostHandle(backend_))),
      query_(NUVAdopt<NUVIEdbSysQuery2>(new NUVHostQuery(backend_))) {}

NUVHostSession::~NUVHostSession() = default;

void NUVHostSession::Install() { NUVSetPtrSession(this); }

void NUVHostSession::Uninstall() {
  NUVSession* installed = nullptr;
  if (GetPtrSession(installed) >= 0 && installed == static_cast<NUVSession*>(this)) NUVSetPtrSession(nullptr);
}

long NUVHostSession::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_NUVIEdbMetadataToolProvider)
    return Offer(static_cast<NUVIEdbMetadataToolProvider*>(this), out);
  if (iid == IID_NUVIEdbDatabaseContext) return Offer(static_cast<NUVIEdbDatabaseContext*>(this), out);
  if (iid == IID_NUVIEdbErrorReporter) return Offer(static_cast<NUVIEdbErrorReporter*>(this), out);
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVHostSession::ProvideMetadataTool(NUVEdsMetadataTool** tool) {
  if (!tool) return NUV_E_POINTER;
  *tool = NUVRef<NUVEdsMetadataTool>::Take(metadataTool_.get()).HandOver();
  if (!*tool) return NUV_E_FAIL;
  return NUV_S_OK;
}

long NUVHostSession::GetCurrentDatabase(NUVUnicodeString& database) {
  database = backend_->DatabaseName().c_str();
  return NUV_S_OK;
}

long NUVHostSession::SetCurrentDatabase(const NUVUnicodeString& database) {
  return database.View() == backend_->DatabaseName() ? NUV_S_OK : NUV_E_INVALIDARG;
}

long NUVHostSession::GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  *out = nullptr;
  if (database.View() != backend_->DatabaseName() || !handle_) return NUV_E_INVALIDARG;
  return handle_->QueryInterface(iid, out);
}

long NUVHostSession::ClearReports() {
  reports_.clear();
  return NUV_S_OK;
}

long NUVHostSession::GetReportCount(unsigned int* count) {
  if (!count) return NUV_E_POINTER;
  *count = static_cast<unsigned int>(reports_.size());
  return NUV_S_OK;
}

long NUVHostSession::ReportError(NUVError* error, const NUVUnicodeString& first,
                                 const NUVUnicodeString& second) {
  std::string line = "error";
  if (error) {  // appended piece by piece: g++ 12 warns wrongly about a literal + a string
    line += ' ';
    line += std::to_string(error->GetId());
    line += ' ';
    line += error->GetMessageText();
  }
  line += std::string(" | ") + first.CastToCharPtr() + " | " + second.CastToCharPtr();
  std::fprintf(stderr, "%s\n", line.c_str());
  reports_.push_back(line);
  if (reports_.size() > kKeptReports) reports_.pop_front();
  return NUV_S_OK;
}
