// Zrn.INI: whatever the file holds, writing one key leaves every other key
// reading as before, and the key written reads back.
#include <utility>
#include <vector>

#include "cp932.h"
#include "fuzz_support.h"
#include "profile.h"

using namespace hasorin;

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return std::string(s);
}

bool SameName(std::string_view a, std::string_view b) {
  return QString::fromUtf8(a.data(), qsizetype(a.size())).compare(QString::fromUtf8(b.data(), qsizetype(b.size())),
                                                                 Qt::CaseInsensitive) == 0;
}

// (section, key) of every key line after a section header.
std::vector<std::pair<std::string, std::string>> KeysOf(std::string_view bytes) {
  std::vector<std::pair<std::string, std::string>> keys;
  const std::optional<std::string> text = Cp932ToUtf8(bytes);
  if (!text) return keys;
  std::string section;
  bool inSection = false;
  size_t start = 0;
  while (start <= text->size() && keys.size() < 64) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    const std::string line = Trimmed(std::string_view(*text).substr(start, end - start));
    if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string::npos) {
      section = Trimmed(std::string_view(line).substr(1, line.find(']') - 1));
      inSection = true;
    } else if (inSection && line.find('=') != std::string::npos) {
      const std::string key = Trimmed(std::string_view(line).substr(0, line.find('=')));
      if (!key.empty() && !section.empty()) keys.emplace_back(section, key);
    }
    start = end + 1;
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::AsView(data, size);
  const std::string path = fuzz::WriteScratch("Zrn.INI", bytes);
  auto keys = KeysOf(bytes);
  std::vector<std::pair<std::string, std::string>> targets = {{"MenuMain", "Top"}, {"Recent", "File1"}, {"Chapter", "Method"}};
  targets.insert(targets.end(), keys.begin(), keys.end());
  const auto& [section, key] = targets[size % targets.size()];
  keys.insert(keys.end(), targets.begin(), targets.begin() + 3);

  std::vector<std::string> before;
  for (const auto& [s, k] : keys) before.push_back(GetPrivateProfileString(path, s, k, "\x01none"));
  const std::string value = "v" + std::to_string(size);
  if (!WritePrivateProfileString(path, section, key, value)) {
    if (fuzz::ReadScratch(path) != bytes) fuzz::PropertyFailed("a refused write changed the file");
    return 0;
  }
  if (GetPrivateProfileString(path, section, key, "") != value) fuzz::PropertyFailed("the key written does not read back");
  for (size_t i = 0; i < keys.size(); ++i) {
    if (SameName(keys[i].first, section) && SameName(keys[i].second, key)) continue;
    if (GetPrivateProfileString(path, keys[i].first, keys[i].second, "\x01none") != before[i])
      fuzz::PropertyFailed("writing one key changed another");
  }
  return 0;
}
