#include "platform/win/resource_modules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/base/utf.h"
#include "platform/win/bitmap.h"
#include "platform/win/dialog.h"

namespace {

std::string templateText(UINT id, const std::string& caption) {
  return "{\"id\": " + std::to_string(id) + ", \"caption\": \"" + caption +
         "\", \"style\": \"WS_POPUP\", \"cx\": 100, \"cy\": 50, \"controls\": []}";
}

// Two extension modules in folders of their own, joined to the resource
// chain in the order A, B, and the host's module current.
class ResourceChain : public ::testing::Test {
 protected:
  void SetUp() override {
    mRoot = std::filesystem::temp_directory_path() /
            ("krv_resource_chain_" + std::to_string(::getpid()));
    std::filesystem::remove_all(mRoot);
    a = join(L"a", mExtensionA);
    b = join(L"b", mExtensionB);
    mPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
  }
  void TearDown() override {
    AfxSetResourceHandle(mPrevious);
    AfxTermExtensionModule(mExtensionA);
    AfxTermExtensionModule(mExtensionB);
    krv::win::ResourceModules::remove(a);
    krv::win::ResourceModules::remove(b);
    std::filesystem::remove_all(mRoot);
  }
  HINSTANCE join(const std::wstring& name, AFX_EXTENSION_MODULE& extension) {
    const auto folder = mRoot / std::filesystem::path(name);
    std::filesystem::create_directories(folder);
    HINSTANCE instance = krv::win::ResourceModules::add(name, folder);
    EXPECT_TRUE(AfxInitExtensionModule(extension, instance));
    new CDynLinkLibrary(extension);
    return instance;
  }
  void write(HINSTANCE module, const std::string& relative, const std::string& bytes) {
    const auto file = krv::win::ResourceModules::find(module)->folder() / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
  }
  std::string captionOf(UINT id) {
    CDialog dialog;
    if (!dialog.Create(id)) return "<" + krv::win::lastResourceError().text() + ">";
    std::string caption = krv::base::toUtf8(dialog.GetWindowText());
    dialog.DestroyWindow();
    return caption;
  }

  std::filesystem::path mRoot;
  AFX_EXTENSION_MODULE mExtensionA, mExtensionB;
  HINSTANCE a = nullptr, b = nullptr, mPrevious = nullptr;
};

TEST_F(ResourceChain, TemplatesComeFromTheCurrentModuleFirstThenTheChainInOrder) {
  write(a, "templates/10.json", templateText(10, "from a"));
  write(b, "templates/10.json", templateText(10, "from b"));
  write(b, "templates/11.json", templateText(11, "only b"));
  EXPECT_EQ(captionOf(10), "from a") << "the first module of the chain that has it";
  EXPECT_EQ(captionOf(11), "only b");
  AfxSetResourceHandle(b);
  EXPECT_EQ(captionOf(10), "from b") << "the current module comes before the chain";
  EXPECT_EQ(AfxFindResourceHandle(10, krv::win::ResourceKind::DialogTemplate), b);
}

TEST_F(ResourceChain, AMissingTemplateNamesTheCurrentModuleAndTheChain) {
  AfxSetResourceHandle(a);
  EXPECT_THAT(captionOf(12),
              ::testing::HasSubstr("no dialog template 12 in module a or the resource chain"));
}

TEST_F(ResourceChain, AMalformedTemplateIsReportedNotPassedOver) {
  write(a, "templates/13.json", "{ broken");
  write(b, "templates/13.json", templateText(13, "from b"));
  EXPECT_THAT(captionOf(13), ::testing::StartsWith("<"))
      << "the module that has the template answers for it";
}

TEST_F(ResourceChain, BitmapsAndIconsAreFoundThroughTheChain) {
  std::ifstream shipped(
      std::filesystem::path(KRV_SOURCE_DIR) / "resources" / "bitmaps" / "8134.bmp",
      std::ios::binary);
  write(b, "bitmaps/5.bmp", std::string(std::istreambuf_iterator<char>(shipped), {}));
  write(b, "icons/6.ico", "an icon");
  CBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadBitmap(5));
  EXPECT_EQ(bitmap.GetBitmapDimension().cx, 16);
  const HICON icon = krv::win::ResourceModules::loadIcon(6);
  HINSTANCE source = nullptr;
  UINT id = 0;
  ASSERT_TRUE(krv::win::ResourceModules::iconSource(icon, source, id));
  EXPECT_EQ(source, b);
  EXPECT_EQ(id, 6u);
  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(7));
}

TEST_F(ResourceChain, AModuleLeavesTheChainWithItsExtensionRecord) {
  write(a, "templates/14.json", templateText(14, "from a"));
  EXPECT_THAT(krv::win::resourceChain(), ::testing::ElementsAre(a, b));
  AfxTermExtensionModule(mExtensionA);
  EXPECT_THAT(krv::win::resourceChain(), ::testing::ElementsAre(b));
  EXPECT_EQ(AfxFindResourceHandle(14, krv::win::ResourceKind::DialogTemplate), nullptr);
}

}  // namespace
