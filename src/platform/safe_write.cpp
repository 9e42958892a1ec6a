#include "safe_write.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace hasorin {
namespace {

constexpr std::string_view kLeftoverMark = ".~save-";
constexpr int kRandomLetters = 6;

std::filesystem::path FsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsLetterOrDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

#ifdef _WIN32
int OpenNew(const std::string& path, int) {
  return _wopen(FsPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const char* data, size_t size) {
  return _write(fd, data, unsigned(std::min<size_t>(size, 1u << 30)));
}
int SyncToDisk(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
void SyncFolder(const std::string&) {}
#else
int OpenNew(const std::string& path, int mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode >= 0 ? 0600 : 0666);
  // The new file gets the old one's permissions, whatever the umask.
  if (fd >= 0 && mode >= 0 && ::fchmod(fd, mode_t(mode)) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
    return -1;
  }
  return fd;
}
long WriteSome(int fd, const char* data, size_t size) { return long(::write(fd, data, size)); }
int SyncToDisk(int fd) {
  if (::fsync(fd) == 0) return 0;
  return (errno == EINVAL || errno == ENOTSUP) ? 0 : -1;  // not every file system syncs
}
int CloseFile(int fd) { return ::close(fd); }
// The rename itself reaches the disk with the folder.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
#endif

// Permissions of an existing target (-1: none to keep, the defaults apply).
int ExistingMode(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return -1;
#else
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return -1;
  return int(st.st_mode & 07777);
#endif
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const long n = WriteSome(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno ? errno : EIO;
    }
    if (n == 0) return EIO;
    bytes.remove_prefix(size_t(n));
  }
  return 0;
}

int RenameOver(const std::string& from, const std::string& to) {
  std::error_code ec;
  std::filesystem::rename(FsPath(from), FsPath(to), ec);
  if (!ec) return 0;
#ifdef _WIN32
  if (ec.value() == 112 || ec.value() == 39) return ENOSPC;  // disk full, handle disk full
  if (ec.value() == 5) return EACCES;
  return EIO;
#else
  return ec.value();
#endif
}

// A complete copy a killed save left beside its target is ours to remove.
void RemoveLeftovers(const QString& folder, const std::string& targetName) {
  const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    const std::string utf8 = name.toStdString();
    if (!IsSaveLeftoverName(utf8, targetName)) continue;
    const QFileInfo info(QDir(folder).filePath(name));
    if (info.isFile() && !info.isSymLink()) QFile::remove(info.filePath());
  }
}

std::string LeftoverName(const std::string& target) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = target + std::string(kLeftoverMark);
  for (int i = 0; i < kRandomLetters; ++i) name += kLetters[QRandomGenerator::global()->bounded(62)];
  return name;
}

}  // namespace

bool IsSaveLeftoverName(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kLeftoverMark.size() + kRandomLetters) return false;
  if (name.substr(0, target.size()) != target) return false;
  if (name.substr(target.size(), kLeftoverMark.size()) != kLeftoverMark) return false;
  for (char c : name.substr(target.size() + kLeftoverMark.size()))
    if (!IsLetterOrDigit(c)) return false;
  return true;
}

int ReplaceFileContents(const std::string& path, std::string_view bytes) {
  if (path.empty()) return ENOENT;
  // A link is followed, so that the file it names is replaced, not the link.
  QFileInfo info(QString::fromStdString(path));
  const std::string target = info.isSymLink() && info.exists() ? info.canonicalFilePath().toStdString() : path;
  info = QFileInfo(QString::fromStdString(target));
  // A read-only file stays as it is, although a rename could replace it.
  if (info.exists() && !info.isDir() && !info.isWritable()) return EACCES;
  const QString folder = info.absolutePath();
  const std::string name = info.fileName().toStdString();
  RemoveLeftovers(folder, name);

  const int mode = ExistingMode(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = QDir(folder).filePath(QString::fromStdString(LeftoverName(name))).toStdString();
    errno = 0;
    fd = OpenNew(temp, mode);
    if (fd < 0 && errno != EEXIST) return errno ? errno : EIO;
  }
  if (fd < 0) return EEXIST;

  int error = WriteAll(fd, bytes);
  if (error == 0 && SyncToDisk(fd) != 0) error = errno ? errno : EIO;
  if (CloseFile(fd) != 0 && error == 0) error = errno ? errno : EIO;
  if (error == 0) error = RenameOver(temp, target);
  if (error != 0) {
    std::error_code ignored;
    std::filesystem::remove(FsPath(temp), ignored);
    return error;
  }
  SyncFolder(folder.toStdString());
  return 0;
}

}  // namespace hasorin
