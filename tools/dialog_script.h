#pragma once
// The person scripts of the program (`korvane dialog`, `korvane picture`):
// pictures go through the renderer on Qt's offscreen platform (no display
// is needed), and one action is added for spreadsheet cells:
//
//   cell 1434 2 1      # clicks cell column 2, row 1 of the sheet control 1434
#include "platform/win/person_script.h"

namespace krv::tools {

void prepareScript(krv::win::PersonScript& script);

}  // namespace krv::tools
