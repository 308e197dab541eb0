#pragma once
#include <memory>

#include "platform/acad/ac_array.h"
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_macro.h"

// Krv_DbMacro: a connection macro as it stands in the drawing database: an
// object identifier and, once it has been read, its model (Krv_Macro).
// Copies are deep.
class Krv_DbMacro {
 public:
  Krv_DbMacro() : mId(krvNewObjectId()) {}
  explicit Krv_DbMacro(const Krv_Macro& macro)
      : mId(krvNewObjectId()), mMacro(std::make_unique<Krv_Macro>(macro)) {}
  virtual ~Krv_DbMacro() = default;
  Krv_DbMacro(const Krv_DbMacro& other);
  Krv_DbMacro& operator=(const Krv_DbMacro& other);

  const AcDbObjectId& objectId() const { return mId; }

  // The model; nullptr while the macro has none.
  const Krv_Macro* macro() const { return mMacro.get(); }
  Krv_Macro* macroWrite() { return mMacro.get(); }
  void setMacro(const Krv_Macro& macro) { mMacro = std::make_unique<Krv_Macro>(macro); }
  void resetMacro() { mMacro.reset(); }

  // The identifiers of the base profiles, in the order of their numbers;
  // eInvalidInput without a model.
  Acad::ErrorStatus mapBaseProfIds(AcArray<AcDbObjectId>& ids) const;

 private:
  AcDbObjectId mId;
  std::unique_ptr<Krv_Macro> mMacro;
};
