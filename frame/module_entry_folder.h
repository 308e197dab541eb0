#pragma once
// Where this module lives. The module's own folder is the folder of the
// shared library (or program) that holds this code, found from the address
// of a function in it. Files the module keeps beside itself
// (RegistryIDs.dat, the sibling server module) are looked up there.
#include <filesystem>

namespace krv::frame {

// The module's folder: the folder set with setModuleFolder, else the folder
// of the file this code was loaded from. Empty when neither is known.
std::filesystem::path moduleFolder();
// Makes moduleFolder() give `folder` (for tests and the command-line
// program); an empty path goes back to the loaded file's folder.
void setModuleFolder(std::filesystem::path folder);
// The file this code was loaded from (the shared library, or the program
// when the code is linked into one); empty when it cannot be found.
std::filesystem::path moduleFile();

}  // namespace krv::frame
