#include "NUVHostSession.h"

#include <cstdio>

#include "NUVEdbResultTable.h"
#include "NUVEdsMetadataTool.h"
#include "NUVError.h"
#include "NUVHostKeyText.h"
#include "NUVHostRunner.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVIEdbSysObject.h"
#include "NUVIEdbSysQuery2.h"

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

// A host object: a class type (table) and a key (primary-key value as
// text). It needs no connection, so it may outlive the host.
class HostObject : public NUVBaseUnknown, public NUVIEdbSysObject {
 public:
  HostObject(std::string classType, std::string key)
      : classType_(std::move(classType)), key_(std::move(key)) {}

  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == IID_NUVIEdbSysObject) return Offer(static_cast<NUVIEdbSysObject*>(this), out);
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetObjectKey(NUVUnicodeString& key) const override {
    key = key_.c_str();
    return NUV_S_OK;
  }
  // The class type and key, as "PART P1".
  long GetObjectName(NUVUnicodeString& name) const override {
    name = (classType_ + " " + key_).c_str();
    return NUV_S_OK;
  }
  long GetObjectClassType(NUVUnicodeString& classType) const override {
    classType = classType_.c_str();
    return NUV_S_OK;
  }

 private:
  std::string classType_;
  std::string key_;
};

// The handle of the backend's one database: makes host objects for the
// class types of its schema.
class HostHandle : public NUVBaseUnknown, public NUVIEdbDatabaseHandle {
 public:
  explicit HostHandle(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}

  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == IID_NUVIEdbDatabaseHandle) return Offer(static_cast<NUVIEdbDatabaseHandle*>(this), out);
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  long GetDatabaseName(NUVUnicodeString& name) override {
    name = backend_->DatabaseName().c_str();
    return NUV_S_OK;
  }
  long IsReadOnly(unsigned char& readOnly) override {
    readOnly = backend_->ReadOnly() ? 1 : 0;
    return NUV_S_OK;
  }
  // An object of a table of the schema with the key, made without a
  // database round trip; an unknown class type or a key the hosts do not
  // accept fails with null.
  long CreateVolatileObject(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                            IUnknown** object) override {
    if (!object) return NUV_E_POINTER;
    *object = nullptr;
    if (backend_->Table(classType.CastToCharPtr()).empty()) return NUV_E_INVALIDARG;
    if (!nuvhost::IsAcceptedKey(key.View()))
      return NUVHostRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
    auto* created = new HostObject(classType.CastToCharPtr(), key.CastToCharPtr());
    if (!created) return NUV_E_FAIL;
    *object = static_cast<NUVIEdbSysObject*>(created);
    return NUV_S_OK;
  }

 private:
  std::shared_ptr<NUVHostBackend> backend_;
};

// The caller's query interface: runs statements and finds objects by key.
class HostQuery : public NUVBaseUnknown, public NUVIEdbSysQuery2 {
 public:
  explicit HostQuery(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}

  long QueryInterface(const GUID& iid, void** out) override {
    if (out && iid == IID_NUVIEdbSysQuery2) return Offer(static_cast<NUVIEdbSysQuery2*>(this), out);
    return NUVBaseUnknown::QueryInterface(iid, out);
  }
  unsigned long AddRef() override { return NUVBaseUnknown::AddRef(); }
  unsigned long Release() override { return NUVBaseUnknown::Release(); }

  // Runs the statement, keeping none of its rows; its code is the status.
  long ExecuteQuery(const NUVUnicodeString& statement) override {
    NUVEdbResultTable rows;
    status_ = NUVHostRunner(*backend_).Run(statement, rows, nullptr);
    return status_;
  }
  long GetQueryStatus(long& status) const override {
    status = status_;
    return NUV_S_OK;
  }
  // The object only when its table has a row with the key (in its stored
  // form); a key the hosts do not accept is refused with a recorded error.
  long GetObjectFromKey(const NUVUnicodeString& classType, const NUVUnicodeString& key,
                        NUVIEdbSysObject** object) const override {
    if (!object) return NUV_E_POINTER;
    *object = nullptr;
    const std::string table = backend_->Table(classType.CastToCharPtr());
    const std::string column = backend_->KeyColumn(table);
    if (column.empty()) return NUV_E_INVALIDARG;
    if (!nuvhost::IsAcceptedKey(key.View()))
      return NUVHostRefused(nuvhost::KeyRefusal(classType.View(), key.View()));
    bool exists = false;
    const long code = backend_->FindKey(table, column, key.CastToCharPtr(), exists);
    if (code < 0) return code;
    if (!exists) return NUV_E_INVALIDARG;
    auto* found = new HostObject(classType.CastToCharPtr(), key.CastToCharPtr());
    if (!found) return NUV_E_FAIL;
    *object = found;
    return NUV_S_OK;
  }

 private:
  std::shared_ptr<NUVHostBackend> backend_;
  long status_ = NUV_S_OK;
};

// Answers a class type's key attribute from the backend's schema.
class HostMetadataTool : public NUVEdsMetadataTool {
 public:
  explicit HostMetadataTool(std::shared_ptr<NUVHostBackend> backend) : backend_(std::move(backend)) {}
  NUVUnicodeString GetPrimaryKey(const NUVUnicodeString& classType) override {
    return NUVHostKeyAttribute(*backend_, classType.CastToCharPtr()).c_str();
  }

 private:
  std::shared_ptr<NUVHostBackend> backend_;
};

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
      metadataTool_(NUVAdopt<NUVEdsMetadataTool>(new HostMetadataTool(backend_))),
      handle_(NUVAdopt<NUVIEdbDatabaseHandle>(new HostHandle(backend_))),
      query_(NUVAdopt<NUVIEdbSysQuery2>(new HostQuery(backend_))) {}

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
  if (error) line += " " + std::to_string(error->GetId()) + " " + error->GetMessageText();
  line += std::string(" | ") + first.CastToCharPtr() + " | " + second.CastToCharPtr();
  std::fprintf(stderr, "%s\n", line.c_str());
  reports_.push_back(line);
  if (reports_.size() > kKeptReports) reports_.pop_front();
  return NUV_S_OK;
}
