#pragma once
// Test support: a scripted user interface installed for one test, which
// fails the test when something unplanned was shown or a planned answer
// was not used. Include only from test programs (needs GoogleTest).
#include <gtest/gtest.h>

#include "platform/win/scripted_user_interface.h"

namespace krv::win {

class ScriptedUserInterfaceGuard {
 public:
  ScriptedUserInterfaceGuard() : mPrevious(UserInterface::install(&mUi)) {}
  ~ScriptedUserInterfaceGuard() {
    UserInterface::install(mPrevious);
    EXPECT_EQ(mUi.report(), "") << "the user interface script did not go to plan";
  }
  ScriptedUserInterface& operator*() { return mUi; }
  ScriptedUserInterface* operator->() { return &mUi; }

 private:
  ScriptedUserInterface mUi;
  UserInterface* mPrevious;
};

}  // namespace krv::win
