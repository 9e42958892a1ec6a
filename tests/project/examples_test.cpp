// The bundled examples are the projects built here. Run with
// HASORIN_WRITE_EXAMPLES=1 to (re)write examples/*.zrn after changing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "inputfile.h"
#include "open_file.h"
#include "project_fixtures.h"

namespace hasorin {
namespace {

using namespace hasorin::testing;

struct Example {
  const char* file;
  std::function<Project()> make;
};

const Example kExamples[] = {
    {"vertical4.zrn", Vertical4},
    {"inclined4.zrn", Inclined4},
    {"group24.zrn", Group24},
};

TEST(Examples, FilesHoldTheExampleProjectsAndRewriteIdentically) {
  const bool regenerate = std::getenv("HASORIN_WRITE_EXAMPLES") != nullptr;
  TempFolder temp;
  for (const Example& example : kExamples) {
    SCOPED_TRACE(example.file);
    const std::string path = SourceDir() + "/examples/" + example.file;
    const Project expected = example.make();
    if (regenerate) {
      ASSERT_TRUE(WriteInputFile(expected, path).ok);
    }

    Project loaded;
    const OpenResult open = OpenInputFile(loaded, path);
    ASSERT_TRUE(open.ok) << open.code;
    EXPECT_TRUE(SameInputs(loaded, expected));

    const std::string copy = temp.Path(example.file);
    ASSERT_TRUE(WriteInputFile(loaded, copy).ok);
    EXPECT_EQ(ReadBytes(copy), ReadBytes(path));
  }
}

}  // namespace
}  // namespace hasorin
