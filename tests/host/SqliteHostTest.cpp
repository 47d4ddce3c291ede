#include "SqliteHostTest.h"

#include "NUVEdbResultTabData.h"
#include "NUVError.h"

std::string SqliteHost::Scalar(const std::string& statement) {
  if (Run(statement) < 0) return "<refused>";
  NUVListPtrNUVBaseUnknown cells;
  table->GetRow(1, cells);
  std::string text = "<none>";
  if (cells.Size() > 0) {
    const auto& cell = static_cast<const NUVEdbResultTabData&>(*cells[1]);
    int number = 0;
    NUVUnicodeString value;
    if (cell.GetData(number) >= 0) text = std::to_string(number);
    if (cell.GetData(value, 1) >= 0) text = value.CastToCharPtr();
  }
  for (int i = 1; i <= cells.Size(); ++i) cells[i]->Release();
  return text;
}

std::string SqliteHost::MessageOf(long code) {
  NUVError* error = NUVError::NUVGetLastError(code, nullptr);
  if (!error) return "<no error recorded>";
  std::string message = error->GetMessageText();
  error->Release();
  return message;
}
