// Compiles the header on its own: the geometry classes are all inline.
#include "platform/win/win_types.h"
