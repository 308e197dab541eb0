// The load and unload hooks of the shared library. They stand for the
// operating system's attach and detach notifications: nothing refers to
// this file, so it is only part of the shared library (which takes every
// object of the module's libraries), not of programs that link the
// libraries for their own use.
#include <cstdio>

#include "frame/module_entry.h"

namespace krv::frame {
namespace {

// Detaches when the library's static objects are destroyed (at dlclose or
// at exit). Built after everything the attach created, it goes before
// them, so the detach still finds the objects it works on.
struct Detacher {
  ~Detacher() { krv::frame::unloadModule(); }
};

__attribute__((constructor)) void attachOnLoad() {
  const std::filesystem::path resources = krv::frame::moduleResourceFolder();
  if (!krv::frame::loadModule(resources)) {
    std::fprintf(stderr,
                 "korvane_ss: the module's resources were not found in %s; the module stays "
                 "inactive\n",
                 resources.string().c_str());
    return;
  }
  static Detacher detacher;
}

}  // namespace
}  // namespace krv::frame

using namespace krv::frame;
