// Which renderer draws which window class.
#include "platform/qt/control_renderer.h"

namespace krv::qt {

const ControlRenderer& rendererFor(const CWnd& window) {
  (void)window;
  return genericRenderer();
}

}  // namespace krv::qt
