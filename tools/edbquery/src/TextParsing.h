#pragma once
#include <string>
#include <vector>

enum class NumberStatus { Ok, Malformed, OutOfRange };

// Reads the whole text as a decimal int; Malformed for an empty text, a
// leading blank or anything left over, OutOfRange beyond the int range.
NumberStatus ParseInt(const std::string& text, int& value);
// Reads the whole text as a finite double; Malformed as for ParseInt and for
// infinities and NaN, OutOfRange when the magnitude overflows or a
// non-zero value underflows to zero.
NumberStatus ParseDouble(const std::string& text, double& value);
// Splits a list operand on ",": "\," stands for a comma and "\\" for a
// backslash; any other backslash stays as it is. "" gives one empty item.
std::vector<std::string> SplitItems(const std::string& text);
// The text on one line, with nothing a terminal obeys: line breaks, tabs
// and the other control characters (below 0x20, and 0x7F) are written as
// \n, \r, \t and \xNN, and U+0080 to U+009F as \u0080 to \u009f.
std::string OneLine(const std::string& text);
