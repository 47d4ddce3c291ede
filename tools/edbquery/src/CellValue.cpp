#include "CellValue.h"

#include <charconv>
#include <cmath>

CellValue CellValue::Double(double value) {
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, written.ptr);
  return {std::isfinite(value) ? Kind::Number : Kind::Text, text};
}
