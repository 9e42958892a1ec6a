// The .zrn reader: any bytes either fail with a code or give a project that
// saves and opens again as the same project.
#include "fuzz_support.h"
#include "inputfile.h"

using namespace hasorin;

namespace {

bool SameValue(const ProjectValue& a, const ProjectValue& b) {
  if (a.isNumber() && b.isNumber()) return a.number() == b.number();
  return a == b;
}

bool SameProject(const Project& a, const Project& b) {
  if (a.ConditionsEntered != b.ConditionsEntered || a.LoadsEntered != b.LoadsEntered || a.PileCount != b.PileCount)
    return false;
  for (int i = 1; i <= kConditionSlots; ++i)
    if (!SameValue(a.Conditions(i), b.Conditions(i))) return false;
  for (int i = 1; i <= kLoadSlots; ++i)
    if (!SameValue(a.Loads(i), b.Loads(i))) return false;
  for (int pile = 1; pile <= a.PileCount; ++pile)
    for (int c = 1; c <= kPileColumns; ++c)
      if (!SameValue(a.Piles(c, pile), b.Piles(c, pile))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteScratch("in.zrn", fuzz::AsView(data, size));
  ReadInputFileVersion(path);
  // Kept between runs: a project of 999 pile slots is costly to make.
  static Project first, second;
  const FileResult read = ReadInputFile(first, path);
  if (!read.ok) {
    if (read.code == 0) fuzz::PropertyFailed("a failed read without an error code");
    return 0;
  }
  const std::string saved = fuzz::ScratchPath("saved.zrn");
  const FileResult write = WriteInputFile(first, saved);
  // Texts CP932 cannot hold are the only thing a project read from a file cannot carry.
  if (!write.ok) fuzz::PropertyFailed("a project that opened could not be saved");
  if (!ReadInputFile(second, saved).ok) fuzz::PropertyFailed("a saved project does not open");
  if (!SameProject(first, second)) fuzz::PropertyFailed("open -> save -> open changed the project");
  return 0;
}
