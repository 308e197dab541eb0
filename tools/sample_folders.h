#pragma once
// Where the program finds the checkout's sample folders.
#include <filesystem>
#include <string_view>

namespace krv::tools {

// The folder `relative` (such as "examples/library") of the checkout: below
// the current folder when it is there, else below the folder two levels
// above the program (a build tree inside the checkout); else the first, as
// an absolute path, for messages.
std::filesystem::path checkoutFolder(std::string_view relative);

}  // namespace krv::tools
