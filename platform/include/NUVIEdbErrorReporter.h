#pragma once
#include "IUnknown.h"
#include "NUVUnicodeString.h"

class NUVError;

inline constexpr GUID IID_NUVIEdbErrorReporter{
    0x45D0BBB6, 0x0305, 0x4D62, {0x83, 0xEE, 0xD4, 0x70, 0xAD, 0x1B, 0x11, 0x11}};

// Reports errors to the user of the session.
class NUVIEdbErrorReporter : public IUnknown {
 public:
  // Forgets the reports made so far.
  virtual long ClearReports() = 0;
  // Writes the number of reports kept.
  virtual long GetReportCount(unsigned int* count) = 0;
  // Reports the error with two texts of the caller's; the caller keeps its
  // reference on the error.
  virtual long ReportError(NUVError* error, const NUVUnicodeString& first, const NUVUnicodeString& second) = 0;

 protected:
  ~NUVIEdbErrorReporter() = default;
};
