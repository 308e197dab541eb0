#include "platform/base/record_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/base/file_io.h"

namespace {

using krv::base::DocumentKind;
using krv::base::JsonIo;

struct Beam {
  std::string name;
  int length = 0;
  std::vector<std::string> notes;
};

void mapBeam(JsonIo& io, Beam& b) {
  io.field("name", b.name);
  io.optional("length", b.length, 0, krv::base::Integer<int>{0, 20000});
  io.list("notes", b.notes);
}

const DocumentKind& beamKind() {
  static const DocumentKind kind{"korvane beam", 2, "beam file", {}};
  return kind;
}

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() / ("krv_record_file_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  krv::base::Status read(const std::string& text, Beam& b) {
    const auto file = folder / "beam.json";
    std::ofstream(file) << text;
    return krv::base::readRecordFile(file, beamKind(), [&](JsonIo& io) { mapBeam(io, b); });
  }
  std::filesystem::path folder;
};

TEST_F(RecordFileTest, WrittenRecordsReadBackWithFormatAndVersionFirst) {
  Beam b{"B1", 4500, {"left", "right"}};
  const auto file = folder / "beam.json";
  ASSERT_TRUE(krv::base::writeRecordFile(file, beamKind(), [&](JsonIo& io) { mapBeam(io, b); }));
  const std::string text = *krv::base::readFile(file);
  EXPECT_EQ(text.rfind("{\n  \"format\": \"korvane beam\",\n  \"version\": 2,\n  \"name\"", 0), 0u)
      << text;
  Beam back;
  ASSERT_TRUE(read(text, back));
  EXPECT_EQ(back.name, "B1");
  EXPECT_EQ(back.length, 4500);
  EXPECT_EQ(back.notes, b.notes);
}

TEST_F(RecordFileTest, RefusalsNameTheFileAndThePlace) {
  const std::string file = (folder / "beam.json").string();
  struct Case {
    std::string text, error;
  } cases[] = {
      {R"({"format": "korvane beam", "version": 1, "name": "B1",)",
       file + ": malformed JSON: parse error at line 1"},
      {R"({"format": "korvane sheet", "version": 1, "name": "B1"})",
       file + ": format: not a beam file"},
      {R"({"format": "korvane beam", "version": 3, "name": "B1"})",
       file + ": version: the file was written by a newer version"},
      {R"({"format": "korvane beam", "version": 1, "name": "B1", "length": -4})",
       file + ": length: must lie between 0 and 20000"},
      {R"({"format": "korvane beam", "version": 2, "notes": ["a", 3]})",
       file + ": the member \"name\" is missing"},
      {R"({"format": "korvane beam", "version": 2, "name": "B1", "notes": ["a", 3]})",
       file + ": notes[1]: a text is expected"},
  };
  for (const Case& c : cases) {
    Beam b;
    const krv::base::Status s = read(c.text, b);
    ASSERT_FALSE(s.ok()) << c.text;
    EXPECT_EQ(s.text().rfind(c.error, 0), 0u) << s.text();
  }
}

}  // namespace
