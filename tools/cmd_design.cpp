// korvane design show NAME [--picture OUT.png] [--library DIR]
//
// Prints a dialog design: its name, file and picture with the picture's
// size, then one row per control in file order: index, type number and
// name, rectangle in pixels of the picture and as factors, tab order as the
// macro dialog sorts it ("-" for controls outside the tab order), whether
// it is read-only, contents (the binding) and the merged extended list.
// What is wrong with the file follows as warning lines on standard error;
// the controls shown are those the designer loads.
//
// NAME is a design name relative to the designer root folder of the library
// ("EndPlate\Bolts" or "EndPlate/Bolts", ".txt" may be given) or the path
// of a design file. --picture draws the design as the macro dialog shows
// it at run time into a PNG (no display is needed): a dialog whose client
// area is the picture, white transparent, with the controls live over it.
//
// Exit codes: 0 shown (warnings included); 2 bad usage; 3 no such design,
// library folder or unreadable design file; 4 the picture could not be
// written.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "designer/krv_dlg_designer_data.h"
#include "frame/module_entry.h"
#include "frame/resource_guard.h"
#include "platform/base/display_text.h"
#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_functions.h"
#include "platform/qt/picture.h"
#include "tools/command_registry.h"
#include "tools/design_host_window.h"
#include "tools/design_loader.h"
#include "tools/dialog_script.h"
#include "tools/exit_codes.h"
#include "tools/shell_quote.h"
#include "tools/standard_evaluation.h"

namespace {

namespace fs = std::filesystem;
using krv::tools::shellQuoted;

struct Options {
  std::string name;
  std::string picture;
  std::string library;
};

constexpr const char* kProgram = "korvane design";

// Texts from the design file: shown escaped and cut.
std::string text(const Krv_String& s, std::size_t max = 40) {
  return krv::base::displayText(s.str(), max);
}

bool isFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// The design file NAME stands for: an existing file as given, else the
// design of that name below the root folder (".txt" added when missing).
krv::base::Result<Krv_String> findDesignFile(const std::string& name) {
  if (name.empty()) return krv::base::Status::error("give the name of a design");
  if (isFile(fs::path(name))) return krv::core::fromOsPath(fs::absolute(name));
  Krv_String relative = Krv_String::fromUtf8(name);
  relative.replaceSubString(L"/", L"\\");
  relative = ensureNoStartBSlash(relative);
  if (!relative.endsWith(L".txt", false)) relative += L".txt";
  const Krv_String inRoot = getDesignerRootFolder() + relative;
  if (isFile(krv::core::osPath(inRoot))) return inRoot;
  Krv_StringArray names;
  getModuleImages(names);
  std::string known;
  for (const Krv_String& n : names) known += (known.empty() ? "" : ", ") + text(n);
  return krv::base::Status::error(
      "there is no design " + name + " in " +
      shellQuoted(krv::core::osPath(getDesignerRootFolder())) +
      (known.empty() ? std::string(" (it holds no designs)") : " (there are " + known + ")"));
}

// Characters of a UTF-8 text, for padding columns.
std::size_t widthOf(const std::string& s) {
  return static_cast<std::size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string fixed(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6f", v);
  return buffer;
}

int pixel(const Krv_DlgDesignerData& data, bool horizontal, double factor) {
  return static_cast<int>(ObjectExportRoundTo(data.factorToPixels(horizontal, factor), 1));
}

void printTable(const std::vector<std::vector<std::string>>& rows, std::ostream& out) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], widthOf(row[c]));
    }
  for (const auto& row : rows) {
    std::string line = " ";
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += (c == 0 ? " " : "  ") + row[c];
      if (c + 1 < row.size()) line += std::string(widths[c] - widthOf(row[c]), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << "\n";
  }
}

void printDesign(const krv::tools::DesignLoad& load, const Krv_DlgDesignerData& data,
                 std::ostream& out) {
  out << "Design " << text(load.name, 0) << "\n";
  out << "File: " << shellQuoted(krv::core::osPath(load.file)) << "\n";
  out << "Picture: " << shellQuoted(krv::core::osPath(load.bitmap));
  int width = 0, height = 0;
  data.getImageSize(width, height);
  if (load.bitmapLoaded)
    out << ", " << width << " x " << height << " pixels\n";
  else
    out << (load.bitmapExists ? " (unreadable)\n" : " (missing)\n");
  out << "Controls (" << data.getNrControls() << ")\n";
  if (data.getNrControls() == 0) return;
  std::vector<std::vector<std::string>> rows = {{"#", "Type", "Pixels (l,t)-(r,b)",
                                                 "Factors l t r b", "Tab", "Read-only", "Contents",
                                                 "Extended list"}};
  for (int i = 0; i < data.getNrControls(); ++i) {
    const Krv_DesignerControl& c = *data.getControl(i);
    const int type = static_cast<int>(c.mType);
    const Krv_String name = Krv_DlgDesignerData::typeName(type);
    std::ostringstream pixels;
    pixels << "(" << pixel(data, true, c.mTopLeftX) << "," << pixel(data, false, c.mTopLeftY)
           << ")-(" << pixel(data, true, c.mBottomRightX) << ","
           << pixel(data, false, c.mBottomRightY) << ")";
    const std::string number = std::to_string(type);
    rows.push_back({std::to_string(i),
                    std::string(number.size() < 2 ? 1 : 0, ' ') + number + " " +
                        (name.isEmpty() ? "(no type, a text)" : text(name)),
                    pixels.str(),
                    fixed(c.mTopLeftX) + " " + fixed(c.mTopLeftY) + " " + fixed(c.mBottomRightX) +
                        " " + fixed(c.mBottomRightY),
                    c.mTabOrder > 0 ? std::to_string(c.mTabOrder) : "-", c.mReadOnly ? "yes" : "no",
                    text(c.mContents), text(c.getMergedExtComboList(), 60)});
  }
  printTable(rows, out);
}

int drawPicture(krv::tools::DesignHostWindow& host, const fs::path& out) {
  host.showDesign();
  krv::tools::provideQtRuntimeFolder();
  if (const krv::base::Status s = krv::qt::savePicture(host, out); !s) {
    std::cerr << kProgram << ": " << s.text() << "\n";
    return krv::tools::kExitOutput;
  }
  std::cout << "picture: " << shellQuoted(out) << "\n";
  return krv::tools::kExitOk;
}

int showDesign(const Options& o) {
  const fs::path library = krv::tools::libraryFolder(o.library);
  if (!fs::is_directory(library)) {
    std::cerr << kProgram << ": no library folder " << shellQuoted(library) << "\n";
    return krv::tools::kExitInput;
  }
  Krv_Settings::setLibDir(krv::core::fromOsPath(library) + L"\\");
  const auto file = findDesignFile(o.name);
  if (!file) {
    std::cerr << kProgram << ": " << file.status().text() << "\n";
    return krv::tools::kExitInput;
  }

  // Type names and the flex buttons' icon are resources of the module.
  const bool loaded = krv::frame::moduleInstance() == nullptr &&
                      krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  int code = krv::tools::kExitOk;
  {
    krv::frame::ResourceGuard resources;
    krv::tools::DesignHostWindow host;
    if (!host.create(L"")) {
      std::cerr << kProgram << ": the dialog for the design cannot be made\n";
      code = krv::tools::kExitFailed;
    } else if (auto load = krv::tools::loadDesignForShow(*file, host.design()); !load) {
      std::cerr << kProgram << ": " << load.status().text() << "\n";
      code = krv::tools::kExitInput;
    } else {
      host.SetWindowText(load->name.c_str());
      host.design().sortAllControls();
      printDesign(*load, host.design(), std::cout);
      for (const std::string& w : load->warnings)
        std::cerr << kProgram << ": warning: " << w << "\n";
      if (!o.picture.empty()) code = drawPicture(host, fs::absolute(o.picture));
    }
  }
  if (loaded) krv::frame::unloadModule();
  return code;
}

}  // namespace

KRV_COMMAND([](CLI::App& app) {
  auto* sub = app.add_subcommand("design", "Show a dialog design");
  sub->require_subcommand(1);
  auto o = std::make_shared<Options>();
  auto* show = sub->add_subcommand(
      "show",
      "Print a dialog design's controls (type, place, binding, tab order), and draw it as the "
      "macro dialog shows it");
  show->add_option("name", o->name,
                   "the design's name below the designer folder (EndPlate\\Bolts), or the path "
                   "of a design file (.txt)")
      ->required();
  show->add_option("--picture", o->picture,
                   "draw the design as the macro dialog shows it into this PNG file");
  show->add_option("--library", o->library, "the library folder (default: examples/library)");
  show->callback([o] { krv::tools::setExitCode(showDesign(*o)); });
});
