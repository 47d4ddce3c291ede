#include "NUVSqliteSession.h"

#include <cstdio>

#include "NUVEdsMetadataTool.h"
#include "NUVError.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbSysQuery2.h"
#include "NUVSqliteDatabaseHandle.h"
#include "NUVSqliteMetadataTool.h"
#include "NUVSqliteQuery.h"

namespace {
constexpr size_t kKeptReports = 16;

template <class Interface>
long Offer(Interface* itf, void** out) {
  *out = itf;
  itf->AddRef();
  return NUV_S_OK;
}
}  // namespace

NUVSqliteSession::NUVSqliteSession(std::shared_ptr<NUVSqliteDatabase> database)
    : database_(std::move(database)),
      metadataTool_(NUVAdopt<NUVEdsMetadataTool>(new NUVSqliteMetadataTool(database_))),
      handle_(NUVAdopt<NUVIEdbDatabaseHandle>(new NUVSqliteDatabaseHandle(database_))),
      query_(NUVAdopt<NUVIEdbSysQuery2>(new NUVSqliteQuery(database_))) {}

NUVSqliteSession::~NUVSqliteSession() = default;

long NUVSqliteSession::QueryInterface(const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  if (iid == IID_NUVIEdbMetadataToolProvider)
    return Offer(static_cast<NUVIEdbMetadataToolProvider*>(this), out);
  if (iid == IID_NUVIEdbDatabaseContext) return Offer(static_cast<NUVIEdbDatabaseContext*>(this), out);
  if (iid == IID_NUVIEdbErrorReporter) return Offer(static_cast<NUVIEdbErrorReporter*>(this), out);
  return NUVBaseUnknown::QueryInterface(iid, out);
}

long NUVSqliteSession::ProvideMetadataTool(NUVEdsMetadataTool** tool) {
  if (!tool) return NUV_E_POINTER;
  *tool = NUVRef<NUVEdsMetadataTool>::Take(metadataTool_.get()).HandOver();
  return *tool ? NUV_S_OK : NUV_E_FAIL;
}

long NUVSqliteSession::GetCurrentDatabase(NUVUnicodeString& database) {
  database = kDatabaseName;
  return NUV_S_OK;
}

long NUVSqliteSession::SetCurrentDatabase(const NUVUnicodeString& database) {
  return database == kDatabaseName ? NUV_S_OK : NUV_E_INVALIDARG;
}

long NUVSqliteSession::GetDatabaseHandle(const NUVUnicodeString& database, const GUID& iid, void** out) {
  if (!out) return NUV_E_POINTER;
  *out = nullptr;
  if (!(database == kDatabaseName) || !handle_) return NUV_E_INVALIDARG;
  return handle_->QueryInterface(iid, out);
}

long NUVSqliteSession::ClearReports() {
  reports_.clear();
  return NUV_S_OK;
}

long NUVSqliteSession::GetReportCount(unsigned int* count) {
  if (!count) return NUV_E_POINTER;
  *count = static_cast<unsigned int>(reports_.size());
  return NUV_S_OK;
}

long NUVSqliteSession::ReportError(NUVError* error, const NUVUnicodeString& first,
                                   const NUVUnicodeString& second) {
  std::string line = "error";
  if (error) line += " " + std::to_string(error->GetId()) + " " + error->GetMessageText();
  line += std::string(" | ") + first.CastToCharPtr() + " | " + second.CastToCharPtr();
  std::fprintf(stderr, "%s\n", line.c_str());
  reports_.push_back(line);
  if (reports_.size() > kKeptReports) reports_.pop_front();
  return NUV_S_OK;
}
