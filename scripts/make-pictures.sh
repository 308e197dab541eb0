#!/usr/bin/env bash
# Draws every dialog the program can run into docs/pictures/, one PNG per
# launcher named after it, each on its sample record in examples/records/,
# the sample dialog designs (design-EndPlate-*.png), and the first printed
# page of the sample bill (printed-page.png)
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

# The designer again, with a control of the sample design selected (its
# handles and properties show), by its sample script.
env -u DISPLAY -u WAYLAND_DISPLAY "$korvane" dialog CDlgDesigner \
  --record examples/records/CDlgDesigner.json \
  --script examples/records/scripts/CDlgDesigner.txt >/dev/null
echo "docs/pictures/CDlgDesigner.png"
# The sample dialog designs as the macro dialog shows them.
for design in General Bolts; do
  env -u DISPLAY -u WAYLAND_DISPLAY "$korvane" design show "EndPlate/$design" \
    --picture "docs/pictures/design-EndPlate-$design.png" >/dev/null
  echo "docs/pictures/design-EndPlate-$design.png"
done

# The first page of the sample bill as `korvane sheet print` prints it.
pages=$(mktemp -d)
"$korvane" sheet print examples/library/Bills/HallFrame.vts --out "$pages/bill.pdf" \
  --png-pages "$pages" >/dev/null
cp "$pages/page-1.png" docs/pictures/printed-page.png
rm -rf "$pages"
echo "docs/pictures/printed-page.png"
# The document settings of the spreadsheet editor, opened by its sample script.
sheet=$(mktemp --suffix=.vts)
cp examples/records/CDlgSSAsTool.vts "$sheet"
env -u DISPLAY -u WAYLAND_DISPLAY "$korvane" dialog CDlgSSAsTool --record "$sheet" \
  --script examples/records/scripts/CDlgSSAsTool.txt >/dev/null
rm -f "$sheet"
echo "docs/pictures/CDlgSSDocumentSettings.png"
# The editor in the desktop, in a virtual X server when there is one.
if command -v xvfb-run >/dev/null 2>&1; then
  work=$(mktemp -d)
  cp examples/records/CDlgSSAsTool.vts "$work/beams.vts"
  printf 'resize 1000 640\nwait 300\nscreenshot "%s"\nquit\n' "$PWD/docs/pictures/desktop-editor.png" >"$work/steps.txt"
  env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1280x1024x24' \
    "$korvane" sheet edit "$work/beams.vts" --script "$work/steps.txt" >/dev/null 2>&1
  rm -rf "$work"
  echo "docs/pictures/desktop-editor.png"
  # The dialog designer in the desktop, the bolts page half-built by the
  # demonstration script, in a library of its own.
  work=$(mktemp -d)
  mkdir -p "$work/library"
  sed "s|/tmp/korvane-demo-library|$work/library|g" examples/scripts/build-bolts-page.desktop \
    >"$work/steps.desktop"
  env -u QT_QPA_PLATFORM xvfb-run -a -s '-screen 0 1280x1024x24' \
    "$korvane" desktop --library "$work/library" --script "$work/steps.desktop" >/dev/null 2>&1
  cp "$work/library/desktop-designer.png" docs/pictures/desktop-designer.png
  rm -rf "$work"
  echo "docs/pictures/desktop-designer.png"
fi
