// Zrn.FMT through a whole print job: a format file of any bytes makes the
// three reports succeed or fail with a message, never a crash, and the
// combined file is always written.
#include <memory>

#include "engine.h"
#include "fuzz_support.h"
#include "inputfile.h"
#include "print_job.h"

using namespace hasorin;

namespace {

struct Example {
  Project project;
  std::unique_ptr<engine::CalcResults> results = std::make_unique<engine::CalcResults>();
  Example() {
    if (!ReadInputFile(project, HASORIN_SOURCE_DIR "/examples/inclined4.zrn").ok) std::abort();
    if (engine::CalcPileGroup(project, *results) != 0 || !results->solved) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Example example;
  PrintJobOptions options;
  options.folder = fuzz::ScratchFolder();
  options.formatPath = fuzz::WriteScratch("Zrn.FMT", fuzz::AsView(data, size));
  options.settingsPath = fuzz::ScratchPath("Zrn.INI");  // absent: default numbering
  options.programFolder = HASORIN_SOURCE_DIR "/data";
  PrintJob job(example.project, *example.results, options);
  const bool ok = job.Generate();
  for (int k = 0; k < PrintJob::kReportCount; ++k)
    if (!job.ReportOk(k) && job.ReportDetail(k).empty()) fuzz::PropertyFailed("a report failed without a reason");
  if (ok != job.ErrorText().empty()) fuzz::PropertyFailed("success and the failure lines disagree");
  job.Combine({true, true, true});
  return 0;
}
