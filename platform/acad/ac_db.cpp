// The null identifier and the transaction counter of the drawing database.
#include "platform/acad/ac_db.h"

const AcDbObjectId AcDbObjectId::kNull;

int AcTransaction::nextId() {
  static int counter = 0;
  return ++counter;
}
