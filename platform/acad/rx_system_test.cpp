#include "platform/acad/rx_system.h"

#include <gtest/gtest.h>

TEST(RxSystem, RegistryHoldsTheStandardServices) {
  acad::resetRuntime();
  EXPECT_EQ(acrxSysRegistry()->at(L"DynamicLinker"), acrxDynamicLinker());
  EXPECT_EQ(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"), acedRegCmds());
  EXPECT_EQ(acrxSysRegistry()->at(L"NoSuchService"), nullptr);
}

TEST(RxSystem, DynamicLinkerKeepsApplicationRecords) {
  acad::resetRuntime();
  int app = 0;
  EXPECT_TRUE(acrxDynamicLinker()->isAppLocked(&app));
  EXPECT_EQ(acrxDynamicLinker()->record(&app), nullptr);
  EXPECT_TRUE(acrxDynamicLinker()->unlockApplication(&app));
  EXPECT_TRUE(acrxDynamicLinker()->registerAppMDIAware(&app));
  EXPECT_FALSE(acrxDynamicLinker()->isAppLocked(&app));
  EXPECT_TRUE(acrxDynamicLinker()->isAppMDIAware(&app));
  EXPECT_FALSE(acrxDynamicLinker()->unlockApplication(nullptr));
}

TEST(RxSystem, CommandGroupsAreRemovedWholeAndEmptyGroupsToo) {
  acad::resetRuntime();
  auto* cmds = acedRegCmds();
  int runs = 0;
  EXPECT_EQ(cmds->addCommand(L"KORVANE_SS", L"KRVTEST", L"krvtest", 0, [&] { ++runs; }), Acad::eOk);
  EXPECT_EQ(cmds->addCommand(L"OTHER", L"krvtest", L"x", 0, nullptr), Acad::eDuplicateKey);
  EXPECT_EQ(cmds->addCommand(L"OTHER", L"KEEP", L"keep", 0, nullptr), Acad::eOk);
  ASSERT_NE(cmds->lookupCmd(L"krvTest"), nullptr);
  cmds->lookupCmd(L"KRVTEST")->function();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(cmds->removeGroup(L"korvane_ss"), Acad::eOk);
  EXPECT_EQ(cmds->lookupCmd(L"KRVTEST"), nullptr);
  EXPECT_NE(cmds->lookupCmd(L"KEEP"), nullptr);
  EXPECT_EQ(cmds->removeGroup(L"EMPTY_GROUP"), Acad::eOk);
  EXPECT_EQ(cmds->removedGroups().size(), 2u);
  EXPECT_EQ(cmds->removeCmd(L"OTHER", L"NOPE"), Acad::eInvalidInput);
}
