// The module's shared library. Every subsystem is linked in from its folder's
// library; this file only gives the library a translation unit of its own.
namespace krv {
const char* moduleName() { return "korvane_ss"; }
}  // namespace krv
