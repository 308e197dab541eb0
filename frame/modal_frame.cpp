#include "frame/modal_frame.h"

namespace krv {

void reportStoppedException(const char* what) {
  acutPrintf(L"***Error*** %hs\n", what ? what : "");
}

}  // namespace krv
