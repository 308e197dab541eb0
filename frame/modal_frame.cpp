// The report of an exception that stopped a modal launch function.
#include "frame/modal_frame.h"

namespace krv::frame {

void reportStoppedException(const char* what) {
  acutPrintf(L"***Error*** %hs\n", what ? what : "");
}

}  // namespace krv::frame
