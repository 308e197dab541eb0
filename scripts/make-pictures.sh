#!/usr/bin/env bash
# Draws every dialog the program can run into docs/pictures/, one PNG per
# launcher named after it, each on its sample record in examples/records/,
# and the first printed page of the sample bill (printed-page.png)
# (offscreen: no display is needed). Builds the program first when asked
# (--build); otherwise uses build/tools/korvane as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ "${1:-}" == "--build" ]]; then
  bash scripts/build.sh
fi
korvane=./build/tools/korvane
if [[ ! -x "$korvane" ]]; then
  echo "make-pictures: $korvane is not built (run with --build)" >&2
  exit 1
fi
mkdir -p docs/pictures
launchers=$("$korvane" picture --list | cut -f1)
if [[ -z "$launchers" ]]; then
  echo "make-pictures: the program names no launchers" >&2
  exit 1
fi
# Qt wants a private runtime folder; one for this run when there is none.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
  export XDG_RUNTIME_DIR
fi
for launcher in $launchers; do
  env -u DISPLAY -u WAYLAND_DISPLAY "$korvane" picture "$launcher" --out "docs/pictures/$launcher.png" >/dev/null
  echo "docs/pictures/$launcher.png"
done

# The first page of the sample bill as `korvane sheet print` prints it.
pages=$(mktemp -d)
"$korvane" sheet print examples/library/Bills/HallFrame.vts --out "$pages/bill.pdf" \
  --png-pages "$pages" >/dev/null
cp "$pages/page-1.png" docs/pictures/printed-page.png
rm -rf "$pages"
echo "docs/pictures/printed-page.png"
