#include "CellValue.h"

#include <charconv>
#include <cmath>

CellValue CellValue::Double(double value) {
  char buffer[128];
  const double magnitude = std::fabs(value);
  // Plain digits for the magnitudes people write that way (100000.0, not
  // 1e+05), the exponent form beyond them; shortest either way.
  const bool fixed = magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e15);
  const auto written = fixed ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
                             : std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, written.ptr);
  if (!std::isfinite(value)) return {Kind::Text, text};
  // A whole number keeps a fraction, so that it reads back as a real.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return {Kind::Number, text};
}
