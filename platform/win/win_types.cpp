#include "platform/win/win_types.h"
