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

TEST(RxSystem, RemovingOneCommandTakesOnlyThatCommandOfThatGroup) {
  acad::resetRuntime();
  auto* cmds = acedRegCmds();
  ASSERT_EQ(cmds->addCommand(L"KORVANE_SS", L"FIRST", L"first", 0, nullptr), Acad::eOk);
  ASSERT_EQ(cmds->addCommand(L"KORVANE_SS", L"SECOND", L"second", 0, nullptr), Acad::eOk);
  ASSERT_EQ(cmds->addCommand(L"OTHER", L"THIRD", L"third", 0, nullptr), Acad::eOk);

  EXPECT_EQ(cmds->removeCmd(L"OTHER", L"SECOND"), Acad::eInvalidInput)
      << "a command is removed only through its own group";
  EXPECT_NE(cmds->lookupCmd(L"SECOND"), nullptr);

  EXPECT_EQ(cmds->removeCmd(L"korvane_ss", L"second"), Acad::eOk) << "names ignore letter case";
  EXPECT_EQ(cmds->lookupCmd(L"SECOND"), nullptr);
  EXPECT_NE(cmds->lookupCmd(L"FIRST"), nullptr);
  EXPECT_NE(cmds->lookupCmd(L"THIRD"), nullptr);
  EXPECT_EQ(cmds->commandCount(L"KORVANE_SS"), 1);
  EXPECT_EQ(cmds->removeCmd(L"KORVANE_SS", L"SECOND"), Acad::eInvalidInput) << "already removed";
}

TEST(RxSystem, LockingAnApplicationAgainUndoesTheUnlock) {
  acad::resetRuntime();
  int app = 0;
  int other = 0;
  ASSERT_TRUE(acrxDynamicLinker()->unlockApplication(&app));
  ASSERT_TRUE(acrxDynamicLinker()->unlockApplication(&other));
  EXPECT_TRUE(acrxDynamicLinker()->lockApplication(&app));
  EXPECT_TRUE(acrxDynamicLinker()->isAppLocked(&app));
  EXPECT_FALSE(acrxDynamicLinker()->isAppLocked(&other)) << "each application has its own record";
  EXPECT_FALSE(acrxDynamicLinker()->lockApplication(nullptr));
}

TEST(RxSystem, RemovingARegistryEntryGivesBackWhatItHeld) {
  acad::resetRuntime();
  AcRxObject service;
  EXPECT_EQ(acrxSysRegistry()->atPut(L"KrvService", &service), nullptr);
  EXPECT_EQ(acrxSysRegistry()->remove(L"KrvService"), &service);
  EXPECT_EQ(acrxSysRegistry()->at(L"KrvService"), nullptr);
  EXPECT_EQ(acrxSysRegistry()->remove(L"KrvService"), nullptr) << "nothing left to remove";
  EXPECT_EQ(acrxSysRegistry()->at(L"DynamicLinker"), acrxDynamicLinker()) << "other entries stay";
}
