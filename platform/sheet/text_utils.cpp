#include "platform/sheet/text_utils.h"

namespace krv::sheet {

bool hasWildcards(std::string_view p) { return p.find_first_of("*?~") != std::string_view::npos; }

bool wildcardMatch(std::u32string_view p, std::u32string_view t) {
  // Iterative matcher with back-tracking to the last star: linear memory,
  // no recursion, whatever the pattern.
  size_t pi = 0, ti = 0, starP = std::u32string_view::npos, starT = 0;
  while (ti < t.size()) {
    if (pi < p.size() && p[pi] == U'*') {
      starP = ++pi;
      starT = ti;
      continue;
    }
    if (pi < p.size()) {
      char32_t pc = p[pi];
      size_t step = 1;
      bool any = false;
      if (pc == U'~' && pi + 1 < p.size() &&
          (p[pi + 1] == U'*' || p[pi + 1] == U'?' || p[pi + 1] == U'~')) {
        pc = p[pi + 1];
        step = 2;
      } else if (pc == U'?') {
        any = true;
      }
      if (any || foldCase(pc) == foldCase(t[ti])) {
        pi += step;
        ++ti;
        continue;
      }
    }
    if (starP == std::u32string_view::npos) return false;
    pi = starP;
    ti = ++starT;
  }
  while (pi < p.size() && p[pi] == U'*') ++pi;
  return pi == p.size();
}

}  // namespace krv::sheet
