// korvane library [FOLDER]: lists what a library folder holds.
#include <filesystem>
#include <iostream>
#include <map>

#include "tools/command_registry.h"

namespace fs = std::filesystem;
