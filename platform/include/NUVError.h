#pragma once
#include <string>

#include "NUVErrDsc.h"
#include "NUVErrorType.h"
#include "NUVException.h"

// The platform's error kind.
class NUVPLATFORM_API NUVError : public NUVException {
 public:
  NUVError() = default;
  // @{
  // Copies where the error was raised, its text and its type.
  NUVError(const NUVError&) = default;
  NUVError& operator=(const NUVError&) = default;
  // @}
  ~NUVError() override = default;

  NUVMetaClass* GetMetaObject() const override;
  const char* IsA() const override;
  int IsAKindOf(const char* name) const override;
  // The meta-object of this class.
  static NUVMetaClass* MetaObject();
  // The registered name of the class, "NUVError".
  static const char* ClassName();

  // The error's identifier; 0 here.
  virtual unsigned int GetId() const { return 0; }
  // The message identifier; empty here.
  virtual const char* GetMsgId() const { return ""; }
  // The message catalog; empty here.
  virtual const char* GetMsgCatalog() const { return ""; }
  // The source file Setup recorded; empty before.
  virtual const char* GetSourceFileName() const { return sourceFile_.c_str(); }
  // The line Setup recorded; 0 before.
  virtual int GetSourceLineNumber() const { return sourceLine_; }
  // The message: the catalog and message identifier, then the text given.
  virtual std::string GetMessageText() const;
  // Replaces the text given; null empties it.
  virtual void SetMessageText(const char* text) { text_ = text ? text : ""; }
  // @{
  // The error's type (fatal, warning, ...); NUVErrorTypeUnknown until set.
  virtual NUVErrorType GetInformationOnErrorType() const { return type_; }
  virtual void SetInformationOnErrorType(NUVErrorType type) { type_ = type; }
  // @}
  [[noreturn]] void Throw(const char* file, int line, const char* text) override;
  // A copy of the error with one reference for the caller, or null; null
  // here: classes that can be copied answer one.
  virtual NUVError* CloneSelf() { return nullptr; }
  // Writes the length and address of the class's message table (each
  // through a non-null argument); empty and null here.
  virtual void GetErrorTable(unsigned int* length, const NUVErrDsc** table);

  // Records where the error was raised; answers 0.
  long Setup(const char* file, int line);
  // The raised object as an error, or null when it is of another kind.
  static NUVError* Self(NUVException* raised);

  // Result codes: ok non-zero gives the success code 0. ok zero gives a
  // negative code; with an error, a code of its own for which
  // NUVGetLastError answers that error.
  static long GetReturn(int ok, NUVError* error, IUnknown* itf, const char* file, int line) {
    if (ok) return 0;
    return error ? RecordError(error, itf, file, line) : kFailureCode;
  }
  // The error recorded for the code, with a new reference, or null.
  static NUVError* NUVGetLastError(long code, IUnknown* itf);
  // Forgets every error recorded by this thread.
  static void ClearRecordedErrors();

  // The failure code of an error that was not recorded.
  static constexpr long kFailureCode = static_cast<long>(INT32_C(-2147467259));

 private:
  static long RecordError(NUVError* error, IUnknown* itf, const char* file, int line);
  std::string sourceFile_;
  int sourceLine_ = 0;
  std::string text_;
  NUVErrorType type_ = NUVErrorTypeUnknown;
};

// Hands an absorbed error to the platform: counts it and passes it to the
// flush handler, if one is installed. The caller keeps its reference.
NUVPLATFORM_API void Flush(NUVError* error);
using NUVFlushHandler = void (*)(NUVError* error, void* context);
// Installs the handler (null for none) and answers the one it replaces.
NUVPLATFORM_API NUVFlushHandler NUVSetFlushHandler(NUVFlushHandler handler, void* context);
NUVPLATFORM_API long NUVFlushCount();
