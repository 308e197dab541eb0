#pragma once
// Test fixture of the launch frame: this folder's testdata/ is registered as
// the module's resources (dialog templates 900, 8131, 8715, 253, 267) and
// handed to the module's resource override as at load, and the host's frame
// window exists. Everything is taken down after each test.
#include <gtest/gtest.h>

#include "frame/resource_guard.h"
#include "platform/acad/command_line.h"
#include "platform/acad/dock_control_bar.h"
#include "platform/win/dialog.h"
#include "platform/win/event_loop.h"
#include "platform/win/resource_modules.h"

namespace krv::frame {

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = krv::win::ResourceModules::add(L"frame-tests", KRV_TESTDATA_DIR);
    moduleResourceOverride().SaveDefaultResource(module);
    acad::destroyHostFrame();
    mainWindow = acedGetAcadFrame();
    acad::resetPostedCommandPrompts();
  }
  void TearDown() override {
    acad::destroyHostFrame();
    CAcUiDockControlBar::forgetSavedStates();
    moduleResourceOverride().SaveDefaultResource(nullptr);
    krv::win::ResourceModules::remove(module);
    krv::win::EventLoop::instance().reset();
  }

  HINSTANCE module = nullptr;
  CWnd* mainWindow = nullptr;  // the host's frame
};

}  // namespace krv::frame
