#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVErrDsc.h"
#include "NUVIUnknownList.h"
#include "NUVInternalError.h"
#include "NUVListValNUVUnicodeString.h"

// The error raised when a deletion of database objects fails. Besides what
// every error carries it holds, per object, its key, its class type and a
// third text of the raiser's.
class NUVEDBUTIL_API NUVEdbDeleteError : public NUVInternalError {
  NUVEDB_DECLARE_CLASS_INFO(NUVEdbDeleteError)

 public:
  // @{
  // Hand their arguments on to NUVInternalError unchanged; no entries.
  explicit NUVEdbDeleteError(unsigned int id) : NUVInternalError(id) {}
  NUVEdbDeleteError(unsigned int id, const char* msgId, const char* catalog)
      : NUVInternalError(id, msgId, catalog) {}
  NUVEdbDeleteError(const char* msgId, const char* catalog) : NUVInternalError(msgId, catalog) {}
  // @}
  // @{
  // Copies what the error carries and its entries.
  NUVEdbDeleteError(const NUVEdbDeleteError& other) = default;
  NUVEdbDeleteError& operator=(const NUVEdbDeleteError& other) = default;
  // @}
  ~NUVEdbDeleteError() override;

  // A copy allocated through the base object's operator new, or null when
  // that fails.
  NUVError* CloneSelf() override;
  // Writes the message table: empty (errorTableLength entries).
  void GetErrorTable(unsigned int* length, const NUVErrDsc** table) override;
  // Records where the error was raised; answers the error itself.
  NUVEdbDeleteError* Setup(const char* file, int line);
  // The error itself, with its own type.
  NUVEdbDeleteError* Self();

  // Replaces the stored entries; fails, keeping them, when the three lists
  // differ in size.
  long SetErrorInfo(const NUVListValNUVUnicodeString& keys, const NUVListValNUVUnicodeString& classTypes,
                    const NUVListValNUVUnicodeString& thirdTexts);
  // Creates the stored objects through the current database handle into a
  // new list (*objects, one reference for the caller) and writes their class
  // types to classTypes, which is emptied first. Answers the last creation's
  // code; on a negative one the list is released and *objects is null.
  long GetErrorInfo(NUVIUnknownList** objects, NUVListValNUVUnicodeString& classTypes);

  static const unsigned int errorTableLength;  // 0: the message table is empty
  static const NUVErrDsc errorTable[1];        // the (empty) message table

 private:
  NUVListValNUVUnicodeString keys_{0};
  NUVListValNUVUnicodeString classTypes_{0};
  NUVListValNUVUnicodeString thirdTexts_{0};
};
