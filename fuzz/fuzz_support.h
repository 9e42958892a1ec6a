#pragma once
// What every fuzz target shares: a scratch folder of its own for the files
// the parsers read (they take paths), and a property failure that libFuzzer
// records as a crash with the input that caused it.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace hasorin::fuzz {

inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    // make fuzz names a folder it removes afterwards (libFuzzer may end without
    // running exit handlers); else memory-backed where there is one: saves
    // sync to disk, millions of times.
    QString root = qEnvironmentVariable("HASORIN_FUZZ_TMP");
    if (root.isEmpty()) root = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    std::string base = root.toStdString() + "/hasorin-fuzz-XXXXXX";
    if (!mkdtemp(base.data())) std::abort();
    std::atexit([] { QDir(QString::fromStdString(ScratchFolder())).removeRecursively(); });
    return base;
  }();
  return folder;
}

inline std::string ScratchPath(std::string_view name) { return ScratchFolder() + "/" + std::string(name); }

// Writes `bytes` to a file of the scratch folder and returns its path.
inline std::string WriteScratch(std::string_view name, std::string_view bytes) {
  const std::string path = ScratchPath(name);
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) std::abort();
  return path;
}

inline std::string ReadScratch(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

[[noreturn]] inline void PropertyFailed(const char* what) {
  std::fprintf(stderr, "property failed: %s\n", what);
  std::abort();
}

inline std::string_view AsView(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace hasorin::fuzz
