#pragma once

// The kind of an error; 2 means fatal.
enum NUVErrorType {
  NUVErrorTypeUnknown = 0,
  NUVErrorTypeWarning = 1,
  NUVErrorTypeFatal = 2,
  NUVErrorTypeInformation = 3
};
