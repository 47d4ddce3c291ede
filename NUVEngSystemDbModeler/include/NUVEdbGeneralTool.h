#pragma once
#include "CORBAAny.h"
#include "NUVBaseUnknown.h"
#include "NUVEdbUtilExport.h"
#include "NUVError.h"
#include "NUVUnicodeString.h"
#include "_SEQUENCE_SEQUENCE_octet.h"
#include "_SEQUENCE_octet.h"

class NUVEdsMetadataTool;

// Access to the host's database services through the platform session,
// error classification and reporting, and octet-sequence conversions. The
// tool has no state; it is not registered and answers as the base object.
class NUVEDBUTIL_API NUVEdbGeneralTool : public NUVBaseUnknown {
 public:
  NUVEdbGeneralTool() = default;
  // @{
  // The tool has no state: copies are interchangeable.
  NUVEdbGeneralTool(const NUVEdbGeneralTool& other) = default;
  NUVEdbGeneralTool& operator=(const NUVEdbGeneralTool& other) = default;
  // @}
  ~NUVEdbGeneralTool() override;

  // The session's interface iid through out, with a reference; the
  // session's own code is passed through. Fails without a session; out stays
  // null then. A null out fails at once.
  long GetInterfaceFromSession(const GUID& iid, void** out);
  // Writes 1 to fatal when the error's type is fatal (2), else 0. A null
  // error fails and writes nothing.
  long IsErrorFatal(const NUVError* error, unsigned char& fatal);
  // The metadata tool with a reference for the caller, or null. Opens no
  // frame: a platform error raised by the provider reaches the caller.
  NUVEdsMetadataTool* GetMetadataTool();
  // The current database's handle as the interface iid, with a reference;
  // the host's code is passed through. Fails without a context or with an
  // empty current database, with *out null.
  long GetCurrentDatabaseHandle(const GUID& iid, void** out);
  // Answers 1 unless the error recorded for the code is fatal; reports a
  // recorded error with the two texts when the session has a reporter.
  unsigned char CheckError(const long& code, const NUVUnicodeString& first, const NUVUnicodeString& second);

  // Each byte as two upper-case hexadecimal digits, in order.
  NUVUnicodeString SequenceToUnicode(const _SEQUENCE_SEQUENCE_octet& bytes);
  // Reads the hexadecimal text back; an odd last character is ignored and a
  // pair that is not two hexadecimal digits gives the byte 0.
  _SEQUENCE_SEQUENCE_octet UnicodeToSequence(const NUVUnicodeString& text);
  // @{
  // The same bytes in the other octet-sequence type.
  _SEQUENCE_SEQUENCE_octet SequenceToSequence(const _SEQUENCE_octet& bytes);
  _SEQUENCE_octet SequenceToSequence(const _SEQUENCE_SEQUENCE_octet& bytes);
  // @}
  // The bytes of the octet sequence the any holds; empty when it holds none.
  _SEQUENCE_SEQUENCE_octet CORBAToSequence(const CORBAAny& any);
};
