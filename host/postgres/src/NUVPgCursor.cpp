#include "NUVPgCursor.h"

#include <libpq-fe.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "IUnknown.h"
#include "NUVHostTokenWalk.h"

namespace {

// libpq 17 and later hand a streamed answer over in chunks of rows; older
// ones one row at a time.
#ifdef LIBPQ_HAS_CHUNK_MODE
constexpr int kChunkRows = 256;
bool IsPartOfAnswer(ExecStatusType status) {
  return status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_CHUNK;
}
void ReadInParts(PGconn* connection) { PQsetChunkedRowsMode(connection, kChunkRows); }
#else
bool IsPartOfAnswer(ExecStatusType status) { return status == PGRES_SINGLE_TUPLE; }
void ReadInParts(PGconn* connection) { PQsetSingleRowMode(connection); }
#endif

// Type object ids of the built-in types the host reads by their value.
enum : Oid {
  kBool = 16,
  kBytea = 17,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kFloat4 = 700,
  kFloat8 = 701,
  kNumeric = 1700,
};

// The number a float4, float8 or numeric text writes, "NaN" and
// "Infinity" included; false when the text is not a number.
bool ParseDouble(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto parsed = std::from_chars(text.data(), end, value);
  if (parsed.ec == std::errc()) return parsed.ptr == end;
  // What from_chars leaves (a value beyond a double's range) strtod rounds.
  const std::string owned(text);
  char* stop = nullptr;
  value = std::strtod(owned.c_str(), &stop);
  return !owned.empty() && stop == owned.c_str() + owned.size();
}

// The decimal text without a trailing fraction of zeros, and "0" for "-0".
std::string_view Canonical(std::string_view text) {
  if (text.find('.') != std::string_view::npos) {
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
  }
  return text == "-0" ? std::string_view("0") : text;
}

// The value as a double, when the double reads back as the same decimal
// number; false for a value a double holds only approximately.
bool ExactDouble(std::string_view text, double& value) {
  if (!ParseDouble(text, value) || !std::isfinite(value)) return false;
  char written[400];  // the longest fixed form of a finite double is 330 characters
  const auto result = std::to_chars(written, written + sizeof written, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return false;
  return Canonical(std::string_view(written, static_cast<size_t>(result.ptr - written))) == Canonical(text);
}

// The bytes of a bytea's hexadecimal output ("\x1f8b").
std::string Bytes(std::string_view text) {
  std::string bytes;
  if (text.substr(0, 2) != "\\x") return std::string(text);
  bytes.reserve((text.size() - 2) / 2);
  for (size_t i = 2; i + 1 < text.size(); i += 2)
    bytes += static_cast<char>(NUVHostHexValue(text[i]) * 16 + NUVHostHexValue(text[i + 1]));
  return bytes;
}

}  // namespace

NUVPgCursor::NUVPgCursor(NUVPgBackend& backend, std::string sql, std::vector<std::string> values, bool writes,
                         bool streaming)
    : backend_(backend),
      sql_(std::move(sql)),
      values_(std::move(values)),
      writes_(writes),
      streaming_(streaming) {}

bool NUVPgCursor::Start(NUVHostFailure& failure) {
  Send(failure);
  return !failure.Failed() || RunAgain(failure);
}

void NUVPgCursor::Send(NUVHostFailure& failure) {
  current_.Reset(nullptr);
  changed_ = -1;
  std::vector<const char*> pointers;
  std::vector<int> lengths;
  for (const std::string& value : values_) {
    pointers.push_back(value.c_str());
    lengths.push_back(static_cast<int>(value.size()));
  }
  PGconn* connection = backend_.Connection();
  idleAtStart_ = PQtransactionStatus(connection) == PQTRANS_IDLE;
  if (!PQsendQueryParams(connection, sql_.c_str(), static_cast<int>(values_.size()), nullptr, pointers.data(),
                         lengths.data(), nullptr, 0)) {
    failure = NUVPgBackend::FailureOf(connection, nullptr);
    return;
  }
  reading_ = true;
  if (streaming_) {
    ReadInParts(connection);
    backend_.SetStreaming(true);
  }
  current_.Reset(PQgetResult(connection));
  // Read whole, the one result is the answer: the connection is free for
  // the columns' table names at once.
  if (!streaming_) ReadRest();
  if (!Describe(failure)) return;
  Take(failure);
  index_ = -1;  // the first row is not handed out yet
}

bool NUVPgCursor::Describe(NUVHostFailure& failure) {
  columns_.clear();
  types_.clear();
  const int fields = current_.get ? PQnfields(current_.get) : 0;
  for (int i = 0; i < fields; ++i) {
    std::string table;
    if (!backend_.TableName(PQftable(current_.get, i), table, failure)) return false;
    columns_.push_back({PQfname(current_.get, i), std::move(table)});
    types_.push_back(PQftype(current_.get, i));
  }
  bytes_.assign(columns_.size(), std::string());
  return true;
}

void NUVPgCursor::Take(NUVHostFailure& failure) {
  index_ = 0;
  rows_ = current_.get ? PQntuples(current_.get) : 0;
  const ExecStatusType status = current_.get ? PQresultStatus(current_.get) : PGRES_FATAL_ERROR;
  if (IsPartOfAnswer(status)) return;
  if (status == PGRES_TUPLES_OK && rows_ > 0) {  // the whole answer in one result
    if (writes_) changed_ = std::atol(PQcmdTuples(current_.get));
    if (reading_) ReadRest();
    return;
  }
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK && status != PGRES_EMPTY_QUERY) {
    failure = NUVPgBackend::FailureOf(backend_.Connection(), current_.get);
  } else if (writes_) {
    changed_ = std::atol(PQcmdTuples(current_.get));
  }
  Drain();
}

long NUVPgCursor::Next(bool& row) {
  row = false;
  if (current_.get && ++index_ < rows_) {
    row = handedOut_ = true;
    return NUV_S_OK;
  }
  if (!reading_) {  // the answer has ended
    Drain();
    return NUV_S_OK;
  }
  current_.Reset(PQgetResult(backend_.Connection()));
  NUVHostFailure failure;
  Take(failure);
  if (!failure.Failed()) {
    row = current_.get && rows_ > 0;
    handedOut_ = handedOut_ || row;
    return NUV_S_OK;
  }
  if (!RunAgain(failure)) return NUVHostFailed(failure);
  return Next(row);
}

bool NUVPgCursor::RunAgain(NUVHostFailure& failure) {
  if (!Replayable()) return false;
  replayed_ = true;
  Drain();
  std::string message;
  if (!backend_.Reachable(message)) {
    failure = {NUVHostFailureKind::Unreachable, {}, message};
    return false;
  }
  failure = {};
  Send(failure);
  return !failure.Failed();
}

bool NUVPgCursor::Replayable() const {
  return !writes_ && !replayed_ && !handedOut_ && idleAtStart_ && NUVPgBackend::Lost(backend_.Connection());
}

NUVHostValue NUVPgCursor::Value(size_t column) const {
  NUVHostValue value;
  if (!current_.get) return value;
  const int i = static_cast<int>(column);
  // An empty text may be a null: only then is the null flag asked for.
  const int length = PQgetlength(current_.get, index_, i);
  if (length == 0 && PQgetisnull(current_.get, index_, i)) return value;
  const std::string_view text(PQgetvalue(current_.get, index_, i), static_cast<size_t>(length));
  value.text = text;
  value.kind = NUVHostValue::Kind::Text;
  switch (types_[column]) {
    case kBool:
      value.kind = NUVHostValue::Kind::Integer;
      value.integer = text == "t" ? 1 : 0;
      value.text = value.integer ? "1" : "0";
      value.boolean = true;
      break;
    case kInt2:
    case kInt4:
    case kInt8:
      value.kind = NUVHostValue::Kind::Integer;
      std::from_chars(text.data(), text.data() + text.size(), value.integer);
      break;
    case kFloat4:
    case kFloat8:
      value.kind = ParseDouble(text, value.real) ? NUVHostValue::Kind::Double : NUVHostValue::Kind::Text;
      break;
    case kNumeric:
      if (ExactDouble(text, value.real)) value.kind = NUVHostValue::Kind::Double;
      break;
    case kBytea:
      bytes_[column] = Bytes(text);
      value.kind = NUVHostValue::Kind::Bytes;
      value.text = bytes_[column];
      break;
    default:
      break;
  }
  return value;
}

void NUVPgCursor::ReadRest() {
  reading_ = false;
  backend_.SetStreaming(false);
  PGconn* connection = backend_.Connection();
  while (PGresult* rest = PQgetResult(connection)) {
    const ExecStatusType status = PQresultStatus(rest);
    PQclear(rest);
    // A COPY would wait for data for ever: it is ended here.
    if (status == PGRES_COPY_IN || status == PGRES_COPY_BOTH)
      PQputCopyEnd(connection, "not taken by this host");
    char* data = nullptr;
    while (status == PGRES_COPY_OUT && PQgetCopyData(connection, &data, 0) > 0) PQfreemem(data);
  }
}

void NUVPgCursor::Drain() {
  current_.Reset(nullptr);
  if (reading_) ReadRest();
}
