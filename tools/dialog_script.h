#pragma once
// The person scripts of the program (`korvane dialog`, `korvane picture`):
// pictures go through the renderer on Qt's offscreen platform (no display
// is needed), and three actions are added:
//
//   cell 1434 2 1      # clicks cell column 2, row 1 of the sheet control 1434
//   select 33003 33005 # selects these designed controls in the dialog
//                      # designer (their handles show, the properties follow)
//   dump               # writes the dialog's window tree to standard error
//                      # (identifiers, texts, states, places: what to script)
#include "platform/win/person_script.h"

namespace krv::tools {

void prepareScript(krv::win::PersonScript& script);

// Before the first picture: Qt wants a private runtime folder and warns on
// standard error when the environment names none; this gives it the one it
// would take itself (/tmp/runtime-UID, made private), so runs stay quiet.
void provideQtRuntimeFolder();

}  // namespace krv::tools
