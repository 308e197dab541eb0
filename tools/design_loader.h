#pragma once
// Reads a dialog design file for showing it: the controls exactly as the
// designer and the macro dialog load them (Krv_DlgDesignerData::readDesign),
// from any folder, together with warnings about what in the file is wrong
// or left out, so that a person can see why a design looks as it does.
#include <string>
#include <vector>

#include "designer/krv_dlg_designer_data.h"
#include "platform/base/status.h"
#include "platform/core/krv_string.h"

namespace krv::tools {

struct DesignLoad {
  Krv_String file;    // the design file read
  Krv_String name;    // the design's name (relative to the root folder), else the file's stem
  Krv_String bitmap;  // the picture beside it (".bmp")
  bool bitmapExists = false;
  bool bitmapLoaded = false;
  // What is wrong with the file, one line each, in file order; empty for a
  // sound design.
  std::vector<std::string> warnings;
};

// Reads the design file `file` into `data` (its controls replaced; the
// identifiers assigned by append from data's identifier range, so set that
// range first) and attaches its picture. The file may lie in any folder.
//
// A file that is not a properties list of version 1 (a wrong first line, an
// unreadable file) is an error and `data` is left unchanged. A file with
// lines that are no property is refused by the designer and the macro
// dialog; here those lines are left out with a warning each (and one that
// says the run time refuses the file), and the rest is loaded. Further
// warnings: a missing or negative "nrOfControls"; a count that differs
// from the controls the keys name; keys a loaded control lacks; a type
// outside 0..30; a rectangle without area or reaching outside the picture;
// a control left without window identifier; a combo box item file that
// does not exist; a missing or unreadable picture.
krv::base::Result<DesignLoad> loadDesignForShow(const Krv_String& file, Krv_DlgDesignerData& data);

}  // namespace krv::tools
