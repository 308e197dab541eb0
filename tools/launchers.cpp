#include "tools/launchers.h"

#include "platform/base/case_folding.h"

namespace krv::tools {

const std::vector<Launcher>& launchers() {
  static const std::vector<Launcher> table = {};
  return table;
}

const Launcher* findLauncher(std::string_view name) {
  for (const Launcher& l : launchers())
    if (krv::base::foldCaseUtf8(l.name) == krv::base::foldCaseUtf8(name)) return &l;
  return nullptr;
}

}  // namespace krv::tools
