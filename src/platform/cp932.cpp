#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace hasorin {
namespace {
// ICU's "windows-31j" is CP932 proper: 0x8160 is U+FF5E (～), not the wave dash.
constexpr const char* kCodec = "windows-31j";
}  // namespace

std::optional<QString> DecodeCp932(QByteArrayView bytes) {
  QStringDecoder decoder(kCodec, QStringDecoder::Flag::Stateless);
  if (!decoder.isValid()) return std::nullopt;
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  return text;
}

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  auto text = DecodeCp932(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
  if (!text) return std::nullopt;
  return text->toStdString();
}

QByteArray EncodeCp932(const QString& text, bool* lossless) {
  QStringEncoder encoder(kCodec, QStringEncoder::Flag::Stateless);
  QByteArray bytes = encoder.encode(text);
  if (lossless) *lossless = !encoder.hasError();
  return bytes;
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
