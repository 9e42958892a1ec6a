#include "tempfiles.h"

#include "paths.h"

namespace hasorin {

std::optional<std::string> TempFileList::NewName() {
  if (Count() >= capacity_) return std::nullopt;
  std::string name = CreateTempFile(folder_, "~PS");
  if (name.empty()) return std::nullopt;
  names_.push_back(name);
  return name;
}

void TempFileList::DeleteAll() {
  for (const std::string& name : names_) DeleteFileQuietly(name);
  names_.clear();
}

}  // namespace hasorin
