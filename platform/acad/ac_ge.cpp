// The axis constants of AcGeVector3d.
#include "platform/acad/ac_ge.h"

const AcGeVector3d AcGeVector3d::kXAxis(1, 0, 0);
const AcGeVector3d AcGeVector3d::kYAxis(0, 1, 0);
const AcGeVector3d AcGeVector3d::kZAxis(0, 0, 1);
const AcGeVector3d AcGeVector3d::kIdentity(0, 0, 0);
