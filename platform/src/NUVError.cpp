#include "NUVError.h"

#include <array>
#include <atomic>

#include "NUVInternalError.h"
#include "NUVMetaClass.h"
#include "NUVXHContext.h"

namespace {

NUVMetaClass* Register(const char* name, NUVMetaClass* base, size_t size) {
  return fct_RetrieveMetaObject(name, NUVClassKindComponent, base, "NUVNull", "NUVPlatform", size);
}

// The errors recorded by one thread, newest last, each with a reference.
struct RecordedErrors {
  struct Entry {
    long code = 0;
    NUVError* error = nullptr;
  };
  std::array<Entry, 8> entries{};
  unsigned sequence = 0;
  RecordedErrors() = default;
  RecordedErrors(const RecordedErrors&) = delete;  // each entry's reference is released once
  RecordedErrors& operator=(const RecordedErrors&) = delete;
  void Clear() {
    for (Entry& entry : entries) {
      if (entry.error) entry.error->Release();
      entry = {};
    }
  }
  ~RecordedErrors() { Clear(); }
};
thread_local RecordedErrors recorded;

std::atomic<NUVFlushHandler> flushHandler{nullptr};
std::atomic<void*> flushContext{nullptr};
std::atomic<long> flushes{0};

}  // namespace

NUVMetaClass* NUVException::MetaObject() {
  static NUVMetaClass* const meta =
      Register("NUVException", NUVBaseUnknown::MetaObject(), sizeof(NUVException));
  return meta;
}
NUVMetaClass* NUVException::GetMetaObject() const { return MetaObject(); }
const char* NUVException::IsA() const { return MetaObject()->IsA(); }
int NUVException::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); }

void NUVException::Throw(const char* /*file*/, int /*line*/, const char* /*text*/) {
  AddRef();
  throw NUVXHRaised(this);
}

void NUVRaise(NUVException* adopted, const char* file, int line) {
  if (NUVError* error = NUVError::Self(adopted)) error->Setup(file, line);
  throw NUVXHRaised(adopted);
}

NUVMetaClass* NUVError::MetaObject() {
  static NUVMetaClass* const meta = Register("NUVError", NUVException::MetaObject(), sizeof(NUVError));
  return meta;
}
NUVMetaClass* NUVError::GetMetaObject() const { return MetaObject(); }
const char* NUVError::IsA() const { return MetaObject()->IsA(); }
int NUVError::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); }
const char* NUVError::ClassName() { return MetaObject()->IsA(); }

std::string NUVError::GetMessageText() const {
  std::string message = GetMsgCatalog();
  if (*GetMsgId()) {
    if (!message.empty()) message += '.';
    message += GetMsgId();
  }
  if (!text_.empty()) {
    if (!message.empty()) message += ": ";
    message += text_;
  }
  return message;
}

void NUVError::Throw(const char* file, int line, const char* text) {
  if (file) Setup(file, line);
  if (text) SetMessageText(text);
  NUVException::Throw(file, line, text);
}

void NUVError::GetErrorTable(unsigned int* length, const NUVErrDsc** table) {
  if (length) *length = 0;
  if (table) *table = nullptr;
}

long NUVError::Setup(const char* file, int line) {
  sourceFile_ = file ? file : "";
  sourceLine_ = line;
  return 0;
}

NUVError* NUVError::Self(NUVException* raised) { return dynamic_cast<NUVError*>(raised); }

long NUVError::RecordError(NUVError* error, IUnknown* /*itf*/, const char* file, int line) {
  if (file && error->GetSourceFileName()[0] == '\0') error->Setup(file, line);
  // Codes of recorded errors: 0xA0EE0000 + sequence, negative as int32.
  const long code = static_cast<long>(static_cast<int32_t>(0xA0EE0000u | (recorded.sequence++ & 0xFFFFu)));
  RecordedErrors::Entry& slot = recorded.entries[recorded.sequence % recorded.entries.size()];
  error->AddRef();
  if (slot.error) slot.error->Release();
  slot = {code, error};
  return code;
}

NUVError* NUVError::NUVGetLastError(long code, IUnknown* /*itf*/) {
  for (const RecordedErrors::Entry& entry : recorded.entries) {
    if (entry.error && entry.code == code) {
      entry.error->AddRef();
      return entry.error;
    }
  }
  return nullptr;
}

void NUVError::ClearRecordedErrors() { recorded.Clear(); }

void Flush(NUVError* error) {
  if (!error) return;
  flushes.fetch_add(1, std::memory_order_relaxed);
  if (NUVFlushHandler handler = flushHandler.load()) handler(error, flushContext.load());
}

NUVFlushHandler NUVSetFlushHandler(NUVFlushHandler handler, void* context) {
  flushContext.store(context);
  return flushHandler.exchange(handler);
}

long NUVFlushCount() { return flushes.load(std::memory_order_relaxed); }

NUVMetaClass* NUVInternalError::MetaObject() {
  static NUVMetaClass* const meta =
      Register("NUVInternalError", NUVError::MetaObject(), sizeof(NUVInternalError));
  return meta;
}
NUVMetaClass* NUVInternalError::GetMetaObject() const { return MetaObject(); }
const char* NUVInternalError::IsA() const { return MetaObject()->IsA(); }
int NUVInternalError::IsAKindOf(const char* name) const { return MetaObject()->IsAKindOf(name); }

NUVError* NUVInternalError::CloneSelf() {
  auto* clone = new NUVInternalError(*this);
  return clone;
}
