#include "platform/core/krv_db_macro.h"

Krv_DbMacro::Krv_DbMacro(const Krv_DbMacro& other)
    : mId(other.mId), mMacro(other.mMacro ? std::make_unique<Krv_Macro>(*other.mMacro) : nullptr) {}

Krv_DbMacro& Krv_DbMacro::operator=(const Krv_DbMacro& other) {
  if (this != &other) {
    mId = other.mId;
    mMacro = other.mMacro ? std::make_unique<Krv_Macro>(*other.mMacro) : nullptr;
  }
  return *this;
}

Acad::ErrorStatus Krv_DbMacro::mapBaseProfIds(AcArray<AcDbObjectId>& ids) const {
  ids.removeAll();
  if (!mMacro) return Acad::eInvalidInput;
  for (const auto& p : mMacro->baseProfiles()) ids.append(p.id);
  return Acad::eOk;
}
