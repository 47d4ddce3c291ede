#pragma once
#include "NUVEdbUtilExport.h"
#include "NUVErrDsc.h"
#include "NUVInternalError.h"

// The one definition of the library's plain error classes, which differ
// only in their names. Each constructor hands its arguments on to
// NUVInternalError unchanged. CloneSelf allocates through the base object's
// operator new and answers null when that fails. The message table is empty.
#define NUVEDB_PLAIN_ERROR_CLASS(C)                                                        \
  class NUVEDBUTIL_API C : public NUVInternalError {                                       \
    NUVEDB_DECLARE_CLASS_INFO(C)                                                           \
                                                                                           \
   public:                                                                                 \
    explicit C(unsigned int id) : NUVInternalError(id) {}                                  \
    C(unsigned int id, const char* msgId, const char* catalog)                             \
        : NUVInternalError(id, msgId, catalog) {}                                          \
    C(const char* msgId, const char* catalog) : NUVInternalError(msgId, catalog) {}        \
    C(const C& other) = default;                                                           \
    C& operator=(const C& other) = default;                                                \
    ~C() override;                                                                         \
                                                                                           \
    NUVError* CloneSelf() override;                                                        \
    void GetErrorTable(unsigned int* length, const NUVErrDsc** table) override;            \
    C* Setup(const char* file, int line);                                                  \
    C* Self();                                                                             \
                                                                                           \
    static const unsigned int errorTableLength;                                            \
    static const NUVErrDsc errorTable[1];                                                  \
  };

// Defines the members declared by NUVEDB_PLAIN_ERROR_CLASS and the class
// registration, with NUVInternalError as the base.
#define NUVEDB_DEFINE_PLAIN_ERROR(C)                                    \
  NUVEDB_DEFINE_CLASS_INFO(C, NUVInternalError)                         \
  NUVEDB_DEFINE_ERROR_MEMBERS(C)                                        \
  C::~C() = default;                                                    \
  NUVError* C::CloneSelf() { return new C(*this); }
