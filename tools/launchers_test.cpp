// The launchers table: what the desktop's menu and the commands build on.
#include "tools/launchers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/base/json_document.h"
#include "tools/program_run_test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(Launchers, EachHasAUniqueNameASampleOfItsKindAndATemplate) {
  const auto& table = krv::tools::launchers();
  ASSERT_EQ(table.size(), 9u);
  std::set<std::string> names;
  for (const auto& l : table) {
    EXPECT_TRUE(names.insert(l.name).second) << l.name;
    EXPECT_FALSE(l.title.empty()) << l.name;
    ASSERT_TRUE(l.run && l.runWith) << l.name;
    const fs::path sample = fs::path(KRV_SOURCE_DIR) / "examples/records" / l.sampleRecord;
    krv::base::DocumentKind kind;
    kind.format = l.recordKind;
    EXPECT_TRUE(krv::base::readDocumentFile(sample, kind).ok())
        << l.name << ": the sample is a record of the launcher's kind";
    EXPECT_TRUE(fs::exists(fs::path(KRV_SOURCE_DIR) / "resources/templates" /
                           (std::to_string(l.templateId) + ".json")))
        << l.name;
  }
  EXPECT_EQ(krv::tools::findLauncher("cformula"), &table[2]) << "names ignore case";
  EXPECT_EQ(krv::tools::findLauncher("Formula"), nullptr);
}

TEST(Launchers, ARecordOfAnotherKindIsRefusedBeforeAnythingRuns) {
  const fs::path file = fs::temp_directory_path() / "krv_launchers_other_kind.json";
  const std::string text = R"({"format": "korvane find and replace", "version": 1, "sheet": "x"})";
  krv::tools::test::writeBytes(file, text);
  const auto run = krv::tools::findLauncher("CFormula")->run(file);
  ASSERT_FALSE(run.ok());
  EXPECT_EQ(run.status().path(), file);
  EXPECT_EQ(run.status().place(), "format");
  EXPECT_EQ(krv::tools::test::readBytes(file), text);
  fs::remove(file);
}

}  // namespace
