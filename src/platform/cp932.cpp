#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#endif

namespace hasorin {
#ifndef _WIN32
namespace {
// ICU's "windows-31j" is CP932 proper: 0x8160 is U+FF5E (～), not the wave dash.
constexpr const char* kCodec = "windows-31j";

// ICU rotates three control codes as IBM PCs did (0x1A -> U+001C, 0x1C ->
// U+007F, 0x7F -> U+001A); Windows keeps every byte below 0x80 as it is.
char16_t FromIcuControl(char16_t c) {
  return c == 0x1C ? 0x1A : c == 0x7F ? 0x1C : c == 0x1A ? 0x7F : c;
}
char16_t ToIcuControl(char16_t c) {
  return c == 0x1A ? 0x1C : c == 0x1C ? 0x7F : c == 0x7F ? 0x1A : c;
}
void MapControls(QString& text, char16_t (*map)(char16_t)) {
  for (QChar& c : text)
    if (c.unicode() < 0x80) c = QChar(map(c.unicode()));
}
}  // namespace
#endif

std::optional<QString> DecodeCp932(QByteArrayView bytes) {
  if (bytes.isEmpty()) return QString();
#ifdef _WIN32
  // Qt builds without ICU know no CP932 codec; Windows itself always does.
  int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide.data(), n);
  return QString::fromStdWString(wide);
#else
  QStringDecoder decoder(kCodec, QStringDecoder::Flag::Stateless);
  if (!decoder.isValid()) return std::nullopt;
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  MapControls(text, FromIcuControl);
  return text;
#endif
}

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  auto text = DecodeCp932(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (!text) return std::nullopt;
  return text->toStdString();
}

QByteArray EncodeCp932(const QString& text, bool* lossless) {
  if (lossless) *lossless = true;
  if (text.isEmpty()) return QByteArray();
#ifdef _WIN32
  std::wstring wide = text.toStdWString();
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), nullptr, 0,
                              nullptr, &usedDefault);
  QByteArray bytes(n > 0 ? n : 0, Qt::Uninitialized);
  if (n > 0) {
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()), bytes.data(), n,
                        nullptr, &usedDefault);
  }
  if (lossless) *lossless = n > 0 && !usedDefault;
  return bytes;
#else
  QStringEncoder encoder(kCodec, QStringEncoder::Flag::Stateless);
  if (!encoder.isValid()) {
    if (lossless) *lossless = false;
    return text.toLatin1();
  }
  QString icuText = text;
  MapControls(icuText, ToIcuControl);
  QByteArray bytes = encoder.encode(icuText);
  if (lossless) *lossless = !encoder.hasError();
  return bytes;
#endif
}

std::string Utf8ToCp932(std::string_view utf8, bool* lossless) {
  QByteArray bytes = EncodeCp932(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), lossless);
  return std::string(bytes.constData(), size_t(bytes.size()));
}

int Cp932Length(const QString& text) {
  // Cheap path for the common ASCII text; otherwise count the encoded bytes.
  bool ascii = true;
  for (QChar c : text) {
    if (c.unicode() >= 0x80) { ascii = false; break; }
  }
  if (ascii) return int(text.size());
  return int(EncodeCp932(text).size());
}

int Cp932Length(std::string_view utf8) {
  return Cp932Length(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
}

}  // namespace hasorin
