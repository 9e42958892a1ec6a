#pragma once
// A list of temporary files owned by one job (a print job, a drawing window).
// Names are made in a folder of the caller's choosing (the system temporary
// folder by default) with the prefix "~PS"; at most `capacity` names.
#include <optional>
#include <string>
#include <vector>

namespace hasorin {

class TempFileList {
 public:
  static constexpr int kDefaultCapacity = 20;
  explicit TempFileList(int capacity = kDefaultCapacity) : capacity_(capacity) {}

  // Folder for new names; empty means PrintTempFolder().
  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  // Names to hand out in order instead of new unique ones (outputs a user
  // keeps, made afresh by every run); each file is created empty or emptied.
  void SetFixedNames(std::vector<std::string> names) { fixedNames_ = std::move(names); }
  // Deletes the fixed-name files that exist in the folder.
  void DeleteFixedFiles() const;
  const std::string& Folder() const { return folder_; }

  // Creates a new empty file and records its name. nullopt when the list is
  // full or the file cannot be created.
  std::optional<std::string> NewName();

  int Count() const { return int(names_.size()); }
  const std::vector<std::string>& Names() const { return names_; }
  // The k-th name, 1-based.
  const std::string& Name(int k) const { return names_.at(size_t(k - 1)); }

  // Forgets the names without deleting the files.
  void Reset() { names_.clear(); }
  // Deletes every listed file (failures ignored) and empties the list.
  void DeleteAll();

 private:
  int capacity_;
  std::string folder_;
  std::vector<std::string> fixedNames_;
  std::vector<std::string> names_;
};

}  // namespace hasorin
