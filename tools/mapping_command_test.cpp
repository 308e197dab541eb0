// korvane mapping show, run as a person runs it on the sample library: the
// choice of one key, the values a macro would give, and refused input.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/exit_codes.h"
#include "tools/program_run_test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace krv::tools::test;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The sample standard's mapping file holds the keys "EndPlateBeamSmall" and
// "EndPlateBeam" (11 couplings); the sample macro is the one the latter key
// belongs to.
const std::string kSampleMacro = "examples/library/Macros/EndPlateBeam.json";

TEST(MappingShow, AKeyShowsOnlyThatKeyEvenWhenAnotherKeyStartsWithIt) {
  const ProgramRun run = korvane("mapping show EndPlate EndPlateBeam");
  EXPECT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  EXPECT_TRUE(contains(run.output, "EndPlateBeam (11 couplings)")) << run.output;
  EXPECT_FALSE(contains(run.output, "EndPlateBeamSmall"))
      << "the other key is left out although its name begins with the one asked for\n"
      << run.output;

  const ProgramRun small = korvane("mapping show EndPlate EndPlateBeamSmall");
  EXPECT_EQ(small.exitCode, krv::tools::kExitOk) << small.output;
  EXPECT_TRUE(contains(small.output, "EndPlateBeamSmall (3 couplings)")) << small.output;
  EXPECT_FALSE(contains(small.output, "EndPlateBeam (")) << small.output;
}

TEST(MappingShow, AnUnknownKeyIsAnInputErrorThatNamesTheKey) {
  const ProgramRun run = korvane("mapping show EndPlate NoSuchKey");
  EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
  EXPECT_TRUE(contains(run.output, "has no key NoSuchKey")) << run.output;
  EXPECT_FALSE(contains(run.output, "couplings"))
      << "nothing is listed for a key that is not there";

  // Keys are the macros' caller names and compare exactly.
  const ProgramRun otherCase = korvane("mapping show EndPlate endplatebeam");
  EXPECT_EQ(otherCase.exitCode, krv::tools::kExitInput) << otherCase.output;
  EXPECT_TRUE(contains(otherCase.output, "has no key endplatebeam")) << otherCase.output;
}

TEST(MappingShow, AMacroAddsTheValueEachCouplingWouldReceive) {
  const ProgramRun run = korvane("mapping show EndPlate EndPlateBeam --macro " + kSampleMacro);
  EXPECT_EQ(run.exitCode, krv::tools::kExitOk) << run.output;
  // The sample macro's beam is an IPE 300 with a 15 mm plate.
  EXPECT_TRUE(contains(run.output, "BeamSection (String) = Prof1.PrPlName  -> IPE 300\n"))
      << run.output;
  EXPECT_TRUE(contains(run.output, "PlateThick (Double) = Plate.Thick  -> 15")) << run.output;
  EXPECT_FALSE(contains(run.output, "not found in the macro")) << run.output;

  const ProgramRun without = korvane("mapping show EndPlate EndPlateBeam");
  EXPECT_FALSE(contains(without.output, "->")) << "without a macro there are no values to show";
}

TEST(MappingShow, AMacroThatCannotBeReadIsAnInputErrorBeforeAnyOutput) {
  const ProgramRun run = korvane("mapping show EndPlate --macro examples/no_such_macro.json");
  EXPECT_EQ(run.exitCode, krv::tools::kExitInput) << run.output;
  EXPECT_TRUE(contains(run.output, "no_such_macro.json")) << run.output;
  EXPECT_FALSE(contains(run.output, "couplings")) << run.output;
}

}  // namespace
