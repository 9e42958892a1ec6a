#include "tempfiles.h"

#include <QFile>

#include "paths.h"

namespace hasorin {

std::optional<std::string> TempFileList::NewName() {
  if (Count() >= capacity_) return std::nullopt;
  const std::string folder = folder_.empty() ? PrintTempFolder() : folder_;
  if (folder.empty()) return std::nullopt;
  std::string name;
  if (!fixedNames_.empty()) {
    if (size_t(Count()) >= fixedNames_.size()) return std::nullopt;
    name = JoinPath(folder, fixedNames_[size_t(Count())]);
    QFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return std::nullopt;
  } else {
    name = CreateTempFile(folder, "~PS");
  }
  if (name.empty()) return std::nullopt;
  names_.push_back(name);
  return name;
}

void TempFileList::DeleteFixedFiles() const {
  if (folder_.empty()) return;
  for (const std::string& name : fixedNames_) DeleteFileQuietly(JoinPath(folder_, name));
}

void TempFileList::DeleteAll() {
  for (const std::string& name : names_) DeleteFileQuietly(name);
  names_.clear();
}

}  // namespace hasorin
