#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the program need.
# Idempotent: it runs apt-get only when something is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake g++ pkg-config python3
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  nlohmann-json3-dev
  libcli11-dev
  locales
  clang-format
  qt6-base-dev fonts-dejavu-core
  libxlsxwriter-dev liborcus-dev
  xvfb xauth
)

# The office suite's headless program and its Python bridge, for the tests
# that exchange sheets with another spreadsheet program and for the
# side-by-side benchmark; those skip without it. Large, so only on request.
if [ "${KRV_WITH_OFFICE:-0}" = 1 ]; then
  PACKAGES+=(libreoffice-calc-nogui python3-uno)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale whose decimal separator is a comma, so that the tests can show
# that no number conversion of the system follows the process locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 ||
    echo "setup: could not generate de_DE.UTF-8; the locale tests will be skipped"
fi
