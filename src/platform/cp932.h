#pragma once
// Code page 932 (Windows Shift_JIS) text. Every file Hasorin reads or writes is
// CP932; inside the program text is UTF-8 (std::string) or QString.
#include <QString>
#include <QByteArray>
#include <optional>
#include <string>
#include <string_view>

namespace hasorin {

// Decodes CP932 bytes. nullopt when the bytes are not valid CP932.
std::optional<QString> DecodeCp932(QByteArrayView bytes);
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);

// Encodes to CP932. A character CP932 cannot hold becomes '?' and, when
// `lossless` is given, it is set to false.
QByteArray EncodeCp932(const QString& text, bool* lossless = nullptr);
std::string Utf8ToCp932(std::string_view utf8, bool* lossless = nullptr);

// Length of the text in CP932 bytes; this is also its width in print
// columns, since a double-byte character takes two columns and a single-byte
// one (ASCII or half-width katakana) one.
int Cp932Length(const QString& text);
int Cp932Length(std::string_view utf8);
inline int PrintColumns(const QString& text) { return Cp932Length(text); }
inline int PrintColumns(std::string_view utf8) { return Cp932Length(utf8); }

// True when the CP932 byte starts a double-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace hasorin
