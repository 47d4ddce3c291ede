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
}  // namespace

NUVEDB_DEFINE_CLASS_INFO(NUVEdbDeleteError, NUVInternalError)
NUVEDB_DEFINE_ERROR_MEMBERS(NUVEdbDeleteError)

NUVEdbDeleteError::~NUVEdbDeleteError() = default;

NUVError* NUVEdbDeleteError::CloneSelf() { return new NUVEdbDeleteError(*this); }

long NUVEdbDeleteError::SetErrorInfo(const NUVListValNUVUnicodeString& keys,
                                     const NUVListValNUVUnicodeString& classTypes,
                                     const NUVListValNUVUnicodeString& thirdTexts) {
  long result = kSource.Failure();
  if (keys.Size() != classTypes.Size() || keys.Size() != thirdTexts.Size()) return result;
  nuvedb::Guarded([&] {
    Assign(keys_, keys);
    Assign(classTypes_, classTypes);
    Assign(thirdTexts_, thirdTexts);
    result = kSource.Success();
  });
  return result;
}

long NUVEdbDeleteError::GetErrorInfo(NUVIUnknownList** objects, NUVListValNUVUnicodeString& classTypes) {
  long result = kSource.Failure();
  if (!objects) return result;
  *objects = nullptr;
  const int n = keys_.Size();
  if (n < 1 || classTypes_.Size() != n) return result;
  NUVEdbGeneralTool tool;
  NUVRef<NUVIEdbDatabaseHandle> handle;
  NUVRef<IUnknown> object;
  if (!nuvedb::Guarded([&] {
        result = tool.GetCurrentDatabaseHandle(IID_NUVIEdbDatabaseHandle, handle.out_void());
        if (result < 0 || !handle) return;
        classTypes.RemoveAll(NUVCollec::FreeMemory);
        unsigned int position = 0;
        for (int i = 1; i <= n; ++i) {
          result = handle->CreateVolatileObject(classTypes_[i], keys_[i], object.out());
          if (result >= 0 && object) {
            if (!*objects) *objects = nuvedb::NewUnknownList();
            if (*objects && (*objects)->Add(position, object.get()) >= 0) {
              ++position;
              classTypes.Append(classTypes_[i]);
            }
          }
          object.Reset();
          if (result < 0) break;
        }
      })) {
    result = kSource.Failure();
  }
  if (result < 0 && *objects) {
    (*objects)->Release();
    *objects = nullptr;
  }
  return result;
}
