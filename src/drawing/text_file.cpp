#include "text_file.h"

#include <QFile>
#include <QString>
#include <charconv>
#include <cmath>

namespace hasorin {
namespace {

QString QPath(const std::string& path) { return QString::fromUtf8(path.data(), qsizetype(path.size())); }

bool WriteWithMode(const std::string& path, std::string_view bytes, QIODevice::OpenMode mode) {
  QFile file(QPath(path));
  // Unbuffered, so that the check below sees every failed write.
  if (!file.open(mode | QIODevice::Unbuffered)) return false;
  qint64 written = file.write(bytes.data(), qint64(bytes.size()));
  file.close();
  return written == qint64(bytes.size()) && file.error() == QFileDevice::NoError;
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path) {
  QFile file(QPath(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  return std::string(bytes.constData(), size_t(bytes.size()));
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  return WriteWithMode(path, bytes, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool AppendFileBytes(const std::string& path, std::string_view bytes) {
  return WriteWithMode(path, bytes, QIODevice::WriteOnly | QIODevice::Append);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  auto separator = [](char c) { return c == ' ' || c == ',' || c == '\t'; };
  while (i < line.size()) {
    while (i < line.size() && separator(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !separator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

std::optional<double> ParseReal(std::string_view field) {
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  double value = 0;
  auto res = std::from_chars(field.data(), field.data() + field.size(), value);
  if (res.ec != std::errc() || res.ptr != field.data() + field.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInt(std::string_view field) {
  if (!field.empty() && field.front() == '+') field.remove_prefix(1);
  int value = 0;
  auto res = std::from_chars(field.data(), field.data() + field.size(), value);
  if (res.ec != std::errc() || res.ptr != field.data() + field.size()) return std::nullopt;
  return value;
}

}  // namespace hasorin
