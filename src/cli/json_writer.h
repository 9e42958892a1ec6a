#pragma once
// A streaming JSON writer for the command line's --json output: values are
// appended to one string as they are produced, so a 999-pile result is never
// held as a tree. Commas are placed by the writer; the caller only opens and
// closes objects and arrays and names each member with Key() before its value.
//
// Numbers are written in the shortest form that reads back as the same
// double, laid out as the JSON library the tests parse with writes them
// (200000.0, 0.0001, 1e-05, 1e+16), so that files written before and after
// compare equal. NaN and infinities are written as null.
#include <cstdint>
#include <string>
#include <string_view>

namespace hasorin::cli {

class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // Names the member whose value is written next.
  JsonWriter& Key(std::string_view key);

  JsonWriter& Null();
  JsonWriter& Bool(bool value);
  JsonWriter& Int(std::int64_t value);
  JsonWriter& Number(double value);
  // `text` is UTF-8; a byte that is not part of valid UTF-8 is written as U+FFFD.
  JsonWriter& String(std::string_view text);

 private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  // A comma before every value of an array or member of an object but the first.
  void BeforeValue();

  std::string& out_;
  // One bit per open level: something was written at that level. Nesting
  // deeper than 64 levels is not supported.
  std::uint64_t written_ = 0;
  int depth_ = 0;
  bool afterKey_ = false;
};

// Appends `value` as JsonWriter::Number writes it.
void AppendJsonNumber(std::string& out, double value);
// Appends `text` as a quoted JSON string, as JsonWriter::String writes it.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace hasorin::cli
