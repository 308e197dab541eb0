#!/usr/bin/env bash
# Checks that every C++ file tracked by git is formatted as .clang-format says.
#
#   bash scripts/check-format.sh [ROOT]
#
# ROOT is a git work tree with a .clang-format (default: this repository).
# Prints clang-format's complaint for every file that differs and exits 1;
# exits 0 when all are formatted, 2 when clang-format or git is missing.
# `clang-format -i FILE` formats a file in place.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root"

format=""
for candidate in clang-format-14 clang-format; do
  if command -v "$candidate" >/dev/null; then format="$candidate"; break; fi
done
if [[ -z "$format" ]]; then
  echo "check-format: clang-format is not installed" >&2
  exit 2
fi
if [[ ! -f .clang-format ]]; then
  echo "check-format: no .clang-format in $(pwd)" >&2
  exit 2
fi

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  echo "check-format: $(pwd) is not a git work tree" >&2
  exit 2
fi

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.cc' '*.h' '*.hpp')
if [[ ${#files[@]} -eq 0 ]]; then
  exit 0
fi
# One run per batch of files; --dry-run -Werror makes every difference an error.
if ! printf '%s\0' "${files[@]}" | xargs -0 "$format" --style=file --dry-run -Werror; then
  echo "check-format: files above differ from .clang-format; run clang-format -i on them" >&2
  exit 1
fi
