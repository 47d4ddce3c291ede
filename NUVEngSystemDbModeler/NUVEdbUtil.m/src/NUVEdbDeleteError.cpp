#include "NUVEdbDeleteError.h"

#include "NUVEdbGeneralTool.h"
#include "NUVEdbGuarded.h"
#include "NUVEdbReferences.h"
#include "NUVEdbRegistration.h"
#include "NUVEdbResultCodes.h"
#include "NUVIEdbDatabaseHandle.h"
#include "NUVRef.h"

namespace {
constexpr nuvedb::SourceFile kSource{"NUVEngSystemDbModeler/NUVEdbUtil.m/src/NUVEdbDeleteError"};

void Assign(NUVListValNUVUnicodeString& target, const NUVListValNUVUnicodeString& source) {
  target.RemoveAll(NUVCollec::FreeMemory);
  for (int i = 1; i <= source.Size(); ++i) target.Append(source[i]);
}

// Asks the handle for one object per key and adds each that comes to
// objects (made on the first), its class type to classTypes. Returns the
// last creation's code; stops after the first that fails.
long CreateObjects(NUVIEdbDatabaseHandle& handle, const NUVListValNUVUnicodeString& keys,
                   const NUVListValNUVUnicodeString& types, NUVIUnknownList*& objects,
                   NUVListValNUVUnicodeString& classTypes) {
  long result = kSource.Failure();
  unsigned int position = 0;
  for (int i = 1; i <= keys.Size(); ++i) {
    NUVRef<IUnknown> object;
    result = handle.CreateVolatileObject(types[i], keys[i], object.out());
    if (result >= 0 && object) {
      if (!objects) objects = nuvedb::NewUnknownList();
      if (objects && objects->Add(position, object.get()) >= 0) {
        ++position;
        classTypes.Append(types[i]);
      }
    }
    if (result < 0) break;
  }
  return result;
}
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbDeleteError, NUVInternalError)
NUVEDB_DEFINE_ERROR_MEMBERS(NUVEdbDeleteError)

NUVEdbDeleteError::~NUVEdbDeleteError() = default;

NUVError* NUVEdbDeleteError::CloneSelf() { return new NUVEdbDeleteError(*this); }

long NUVEdbDeleteError::SetErrorInfo(const NUVListValNUVUnicodeString& keys,
                                     const NUVListValNUVUnicodeString& classTypes,
                                     const NUVListValNUVUnicodeString& thirdTexts) {
  if (keys.Size() != classTypes.Size() || keys.Size() != thirdTexts.Size()) return kSource.Failure();
  return nuvedb::GuardedCode(kSource, [&] {
    Assign(keys_, keys);
    Assign(classTypes_, classTypes);
    Assign(thirdTexts_, thirdTexts);
    return kSource.Success();
  });
}

long NUVEdbDeleteError::GetErrorInfo(NUVIUnknownList** objects, NUVListValNUVUnicodeString& classTypes) {
  if (!objects) return kSource.Failure();
  *objects = nullptr;
  const int n = keys_.Size();
  if (n < 1 || classTypes_.Size() != n) return kSource.Failure();
  NUVEdbGeneralTool tool;
  NUVRef<NUVIEdbDatabaseHandle> handle;
  const long result = nuvedb::GuardedCode(kSource, [&] {
    const long found = tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void());
    if (found < 0 || !handle) return found;
    classTypes.RemoveAll(NUVCollec::FreeMemory);
    return CreateObjects(*handle, keys_, classTypes_, *objects, classTypes);
  });
  if (result < 0 && *objects) {
    (*objects)->Release();
    *objects = nullptr;
  }
  return result;
}
