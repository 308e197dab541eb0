// The variable cells of one standards sheet and their mapping.
#include "standards/vt_var_cells.h"

#include "platform/core/krv_settings.h"
#include "platform/win/message_box.h"
#include "standards/vt_dlg_standards_data.h"

Krv_Timer gInitMapping(L"gInitMapping");
Krv_Timer gInitFromMacro(L"gInitFromMacro");

namespace krv::standards {
namespace {

void warnNotFetched(const VtVarCell& cell, const VtDlgStandardsData& data) {
  if (!Krv_Settings::current().calcMessages()) return;
  Krv_String text = L"The following ";
  text += cell.isInput() ? L"Input" : L"Output";
  text += L" variable couldn't be ";
  text += cell.isInput() ? L"retrieved" : L"set";
  text += L" : \n";
  text += cell.name();
  text += L"\nMake sure the variable exists in the macro or module.\n";
  text += L"Spreadsheet : ";
  text += data.mStandardsName;
  AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace
}  // namespace krv::standards

using namespace krv::standards;

Acad::ErrorStatus VtVarCells::getFromMacro(VtDlgStandardsData& data) {
  gInitMapping.start();
  if (data.hasModuleGroup()) {
    if (mMapping.initFromModuleGroup(data.mModuleGroup) != Acad::eOk) {
      gInitMapping.end();
      return Acad::eOk;
    }
  } else {
    if (!data.mDbMacro) {
      gInitMapping.end();
      return Acad::eInvalidInput;
    }
    if (mMapping.initFromMacro(data) != Acad::eOk) {
      gInitMapping.end();
      return Acad::eOk;
    }
  }
  gInitMapping.end();

  Krv_FunctionTimer timer(gInitFromMacro);
  for (auto& cell : mCells) {
    if (cell.isLocal()) {
      cell.setNewValue(Krv_String());
    } else if (cell.setValueFromMacro(mMapping, data) != Acad::eOk) {
      warnNotFetched(cell, data);
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus VtVarCells::setToMacro(VtDlgStandardsData& data) {
  for (auto& cell : mCells)
    if (cell.isOutput()) cell.setValueToMacro(mMapping, data);
  return Acad::eOk;
}

bool VtVarCells::hasSameInput(const VtVarCells& other) const {
  for (const auto& cell : mCells) {
    if (!cell.isInput()) continue;
    int index = -1;
    if (other.findVarCell(cell.name(), index) != Acad::eOk) return false;
    const VtVarCell& match = other[index];
    if (match.valueType() != cell.valueType() || !match.value().equal(cell.value(), false))
      return false;
  }
  return true;
}

Acad::ErrorStatus VtVarCells::findVarCell(const Krv_String& name, int& index) const {
  for (int i = 0; i < mCells.length(); ++i) {
    if (mCells[i].name().equal(name, false)) {
      index = i;
      return Acad::eOk;
    }
  }
  return Acad::eInvalidInput;
}
