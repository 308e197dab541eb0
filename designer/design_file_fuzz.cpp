// Feeds arbitrary bytes to the design file reader: it must refuse or load,
// never crash or hang; a refused file leaves the design unchanged, and what
// loaded must save and load again to the same controls.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "designer/krv_dlg_designer_data.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"

namespace {

// A library folder of this process, made once.
const std::filesystem::path& libraryFolder() {
  static const std::filesystem::path folder = [] {
    auto p =
        std::filesystem::temp_directory_path() / ("krv_design_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p / "Dialog Templates" / "Dialog Design");
    Krv_Settings::setLibDir(krv::core::fromOsPath(p));
    return p;
  }();
  return folder;
}

bool sameControls(const Krv_DlgDesignerData& a, const Krv_DlgDesignerData& b) {
  if (a.getNrControls() != b.getNrControls()) return false;
  for (int i = 0; i < a.getNrControls(); ++i) {
    const Krv_DesignerControl& x = *a.getControl(i);
    const Krv_DesignerControl& y = *b.getControl(i);
    if (x.mType != y.mType || !(x.mContents == y.mContents) ||
        !(x.getMergedExtComboList() == y.getMergedExtComboList()) || x.mTopLeftX != y.mTopLeftX ||
        x.mBottomRightY != y.mBottomRightY)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto root = libraryFolder() / "Dialog Templates" / "Dialog Design";
  {
    std::ofstream out(root / "In.txt", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const Krv_String in = getDesignerRootFolder() + L"In.txt";
  const Krv_String again = getDesignerRootFolder() + L"Again.txt";

  Krv_DlgDesignerData design;
  design.mFirstResId = 33000;
  design.mLastResId = 33099;
  Krv_DesignerControl marker;
  marker.mContents = L"marker";
  design.append(marker);
  if (!design.readFromFile(in, false)) {
    if (design.getNrControls() != 1 || !(design.getControl(0)->mContents == L"marker"))
      __builtin_trap();
    return 0;
  }
  if (design.getNrControls() > Krv_DlgDesignerData::kMaxControlsRead) __builtin_trap();
  if (!design.writeToFile(again)) __builtin_trap();
  Krv_DlgDesignerData copy;
  if (!copy.readFromFile(again, false) || !sameControls(design, copy)) __builtin_trap();
  return 0;
}
