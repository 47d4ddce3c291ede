#pragma once
#include <string>
#include <utility>

// One printed value: its text and whether it is null, a number, a truth
// value (text 1 or 0) or a text, which the formats write differently.
struct CellValue {
  enum class Kind { Null, Number, Boolean, Text };
  Kind kind = Kind::Null;
  std::string text;

  static CellValue Null() { return {}; }
  static CellValue Text(std::string text) { return {Kind::Text, std::move(text)}; }
  static CellValue Integer(int value) { return {Kind::Number, std::to_string(value)}; }
  // The shortest text that reads back as the same double: plain digits
  // from 1e-5 up to 1e15, the exponent form beyond, ".0" for a whole
  // number; a non-finite value becomes a text.
  static CellValue Double(double value);
};
