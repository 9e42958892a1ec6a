#include "numbering.h"

#include <cmath>

#include "settings.h"

namespace hasorin {
namespace {

std::string LevelKey(const char* name, int k) { return name + std::to_string(k + 1); }

std::string WholeNumber(const std::optional<double>& value) {
  return std::to_string(value ? std::llround(*value) : 0LL);
}

}  // namespace

NumberingFields LoadNumberingFields(const std::string& settingsFile) {
  const CPrivateProfile profile;
  auto get = [&](const std::string& key) {
    return profile.GetValueLong(settingsFile, kChapterSection, key);
  };
  NumberingFields f;
  const long method = get("Method");
  if (method >= 0 && method < kNumberingMethods) f.method = int(method);
  f.init = double(get("Init"));
  for (int k = 0; k < kHeadingLevels; ++k) {
    const long position = get(LevelKey("Style", k)) - 1;
    if (position >= 0 && position < kNumberingStyles) f.style[size_t(k)] = int(position);
    f.margin[size_t(k)] = double(get(LevelKey("Margin", k)));
  }
  return f;
}

bool SaveNumberingFields(const NumberingFields& f, const std::string& settingsFile) {
  const CPrivateProfile profile;
  bool ok = true;
  auto set = [&](const std::string& key, const std::string& value) {
    ok = profile.SetValueString(settingsFile, kChapterSection, key, value) && ok;
  };
  set("Method", f.method ? std::to_string(*f.method) : std::string());
  set("Init", WholeNumber(f.init));
  for (int k = 0; k < kHeadingLevels; ++k) {
    const auto& style = f.style[size_t(k)];
    set(LevelKey("Style", k), std::to_string(style ? *style + 1 : 0));
  }
  for (int k = 0; k < kHeadingLevels; ++k) set(LevelKey("Margin", k), WholeNumber(f.margin[size_t(k)]));
  return ok;
}

std::string NumberingWriteErrorText(const std::string& settingsFile) {
  return "連番条件を設定ﾌｧｲﾙに書き込めませんでした。\n\n" + settingsFile;
}

}  // namespace hasorin
