#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <filesystem>
#include <vector>

#include "cp932.h"

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace hasorin {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

QString ToQt(const std::string& path) { return QString::fromStdString(path); }
std::string Native(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

std::string StripTrailingSeparator(std::string path) {
  while (path.size() > 1 && IsSeparator(path.back())) path.pop_back();
  return path;
}

// Full path of the running executable, without needing a QCoreApplication.
std::string ExecutablePath() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) {
      buffer.resize(n);
      return QString::fromStdWString(buffer).toStdString();
    }
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
#endif
}

}  // namespace

char PathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path(folder);
  if (!IsSeparator(path.back())) path += PathSeparator();
  while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
  return path.append(name);
}

std::string FileNameOf(std::string_view path) {
  size_t sep = path.find_last_of("/\\");
  return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::string FolderOf(std::string_view path) {
  size_t sep = path.find_last_of("/\\");
  if (sep == std::string_view::npos) return {};
  if (sep == 0) return std::string(path.substr(0, 1));  // a file in the root folder
  return std::string(path.substr(0, sep));
}

std::string ProgramFolder() { return FolderOf(ExecutablePath()); }

std::string ExecutableBaseName() {
  return QFileInfo(ToQt(FileNameOf(ExecutablePath()))).completeBaseName().toStdString();
}

std::string LocalAppDataFolder() {
  // On Windows the generic data location is the local AppData folder.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (folder.isEmpty()) return {};
  return StripTrailingSeparator(Native(folder));
}

std::string TempFolder() { return StripTrailingSeparator(Native(QDir::tempPath())); }

bool IsPrintFilePath(std::string_view path) {
  for (char c : path)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  bool lossless = true;
  Utf8ToCp932(path, &lossless);
  return lossless;
}

std::string PrintTempFolder() {
  std::vector<std::string> candidates{TempFolder()};
#ifndef _WIN32
  candidates.push_back("/tmp");
#endif
  if (const std::string data = LocalAppDataFolder(); !data.empty())
    candidates.push_back(JoinPath(JoinPath(data, "Quorvant"), "Temp"));
  for (const std::string& folder : candidates) {
    if (folder.empty() || !IsPrintFilePath(folder)) continue;
    CreateFolderQuietly(folder);
    if (FolderExists(folder) && QFileInfo(ToQt(folder)).isWritable()) return folder;
  }
  return {};
}

bool FileExists(const std::string& path) { return !path.empty() && QFileInfo(ToQt(path)).isFile(); }

bool FolderExists(const std::string& path) {
  return !path.empty() && QFileInfo(ToQt(path)).isDir();
}

void CreateFolderQuietly(const std::string& path) {
  if (!path.empty()) QDir().mkpath(ToQt(path));
}

void DeleteFileQuietly(const std::string& path) {
  if (FileExists(path)) QFile::remove(ToQt(path));
}

std::string CreateTempFile(const std::string& folder, std::string_view prefix) {
  const std::string base = folder.empty() ? TempFolder() : folder;
  if (!FolderExists(base)) return {};
  // Opening with NewOnly is an exclusive create, so two processes picking the
  // same name cannot both get it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    QString unique = QString::number(QRandomGenerator::global()->generate(), 16).toUpper();
    std::string path = JoinPath(base, std::string(prefix) + unique.toStdString() + ".tmp");
    QFile file(ToQt(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
    if (!file.exists()) return {};  // the folder refuses new files
  }
  return {};
}

}  // namespace hasorin
