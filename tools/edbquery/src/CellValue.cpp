#include "CellValue.h"

#include <charconv>
#include <cmath>

CellValue CellValue::Double(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, written.ptr);
  if (!std::isfinite(value)) return {Kind::Text, text};
  // A whole number keeps a fraction, so that it reads back as a real.
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return {Kind::Number, text};
}
