#include "standards/standard_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"

namespace {

using krv::standards::checkMappingKey;
using krv::standards::MappingKeyCheck;
using krv::standards::standardSheetPath;

class StandardFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(dir.text());
    std::filesystem::create_directories(dir.path() / "Connection Standards");
  }
  void TearDown() override { Krv_Settings::setLibDir(L""); }

  TempFolder dir;
};

TEST_F(StandardFiles, ASheetIsTheGivenFileElseTheLibrarysSheetOfThatName) {
  EXPECT_EQ(standardSheetPath(L"EndPlate"), dir.text("Connection Standards\\EndPlate.vts"))
      << "a name is looked for below the library's standards folder, found or not";
  dir.writeBytes("elsewhere/Plate.vts", "{}");
  const Krv_String sheet = dir.text("elsewhere\\Plate.vts");
  EXPECT_EQ(standardSheetPath(sheet), sheet);
}

TEST_F(StandardFiles, TheMappingFileMustExistAndHoldTheExactKey) {
  MappingKeyCheck check = checkMappingKey(L"EndPlate", L"M1");
  EXPECT_EQ(check.outcome, MappingKeyCheck::kNoFile);
  EXPECT_EQ(check.mappingFile, dir.text("Connection Standards\\EndPlate.map"));

  dir.writeBytes("Connection Standards/EndPlate.map",
                 "Mapping version 1.0\nM1=LƒPlate•Distance Len\nno key here\n=X\n");
  EXPECT_TRUE(checkMappingKey(L"EndPlate", L"M1").found());
  check = checkMappingKey(L"EndPlate", L"m1");
  EXPECT_EQ(check.outcome, MappingKeyCheck::kNoKey) << "keys are compared exactly";
  EXPECT_EQ(check.mappingFile, dir.text("Connection Standards\\EndPlate.map"));
  EXPECT_EQ(checkMappingKey(L"EndPlate", L"no key here").outcome, MappingKeyCheck::kNoKey);
  EXPECT_EQ(checkMappingKey(L"EndPlate", L"Mapping version 1.0").outcome, MappingKeyCheck::kNoKey);
}

TEST_F(StandardFiles, AStandardGivenByItsPathHasItsMappingFileBesideIt) {
  dir.writeBytes("elsewhere/Plate.vts", "{}");
  dir.writeBytes("elsewhere/Plate.map", "K=Xƒ•GenVar gen_x\n");
  dir.writeBytes("Connection Standards/Plate.map", "L=Xƒ•GenVar gen_x\n");
  const MappingKeyCheck check = checkMappingKey(dir.text("elsewhere\\Plate.vts"), L"K");
  EXPECT_TRUE(check.found());
  EXPECT_EQ(check.mappingFile, dir.text("elsewhere\\Plate.map"));
  EXPECT_FALSE(checkMappingKey(dir.text("elsewhere\\Plate.vts"), L"L").found());
}

}  // namespace
