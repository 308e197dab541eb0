#pragma once
// A small end-plate connection macro for tests: a beam (profile module),
// three plate modules sharing the group "Plate", a bolt module and general
// variables, with dialog data built from it.
#include "platform/core/krv_db_macro.h"
#include "platform/core/macro_data.h"

namespace krv::test {

inline Krv_Macro endPlateMacro() {
  Krv_Macro macro(L"EndPlateBeam");
  macro.addGeneralVariable(L"gen_gap", 10.0);
  macro.addGeneralVariable(L"gen_weld", 4.0);
  macro.addBaseProfile({AcDbObjectId(), L"Column", L"HEA 200", L"S355"});
  macro.addBaseProfile({AcDbObjectId(), L"Beam", L"IPE 300", L"S235"});

  Krv_Module beam(L"Beam1", L"Beam", kKrvProfModuleType);
  beam.addConstrVar({L"Len", 3000.0, true, true});
  beam.addPlacement({AcDbObjectId(), L"Rafter", L"IPE 300", L"S235"});
  Krv_CutConstraint endCut;
  endCut.name = L"EndCut";
  endCut.cutType = 1;
  endCut.offsets[kCutOffset] = 5.0;
  beam.addCut(endCut);
  macro.addModule(beam);

  for (int i = 1; i <= 3; ++i) {
    Krv_Module plate(Krv_String(L"Plate") + Krv_String(i, 0), L"Plate", kKrvGeneralModuleType);
    plate.addConstrVar({L"Thick", 10.0 + i, true, true});
    plate.addConstrVar({L"Width", 200.0, true, false});
    plate.addConstrVar({L"Hidden", 1.0, false, true});
    Krv_CutConstraint chamfer;
    chamfer.name = L"Corner";
    chamfer.cutType = 5;
    plate.addCut(chamfer);
    macro.addModule(plate);
  }

  Krv_Module bolts(L"Bolts1", L"Bolts", kKrvBoltModuleType);
  bolts.addConstrVar({L"Pitch", 70.0, true, true});
  bolts.addPattern({AcDbObjectId(), L"Rows", kKrvPatternTwoDirType, 2, 3, false, false});
  bolts.addPattern({AcDbObjectId(), L"Single", kKrvPatternOneDirType, 4, 1, false, false});
  macro.addModule(bolts);

  macro.addModule(Krv_Module(L"Stiffener", L"", kKrvGeneralModuleType));
  return macro;
}

inline MacroData endPlateData(const Krv_DbMacro& dbMacro) {
  MacroData data;
  data.buildTabsFromMacro(dbMacro);
  int index = -1;
  if (data.findTab(L"Bolts", index)) {
    MacroBoltData bolts;
    bolts.mComposition = L"8.8";
    bolts.mDiameter = L"20";
    bolts.mHoleOffset = L"2";
    data.getTab(index)->setBoltData(bolts);
  }
  if (data.findTab(L"Plate", index)) data.getTab(index)->addFlexFixVariable(L"Thick", true);
  return data;
}

}  // namespace krv::test
