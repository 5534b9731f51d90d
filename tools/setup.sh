#!/usr/bin/env bash
# Shared set-up of ./run and ./test: install what is missing (Debian), configure, build.
set -euo pipefail

KABINOR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# qt6-translations-l10n: Qt's own dialogs and buttons in Russian;
# libxlsxwriter-dev (BSD): the spreadsheet schedules, found through pkgconf;
# qt6-svg-dev: the diagram as SVG; python3-ezdxf, python3-matplotlib: the
# tests read the diagram's DXF back and draw it.
kabinor_packages=(cmake ninja-build g++ ccache qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl1-mesa-dev
                  xvfb xauth fonts-dejavu-core libxlsxwriter-dev pkgconf qt6-svg-dev python3-ezdxf python3-matplotlib)

kabinor_install_packages() {
  local missing=()
  for p in "${kabinor_packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "Missing packages: ${missing[*]} (run as root or install them)" >&2; return 1
    fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq || true
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The compiler cache is shared by every clone of the tree on this machine.
export CCACHE_BASEDIR="$KABINOR_ROOT"
export CCACHE_NOHASHDIR=1

# kabinor_build BUILD_DIR [cmake options...] [-- target...]: configures and
# builds the targets named after "--", or everything.
kabinor_build() {
  local dir="$1"; shift
  local options=() targets=()
  while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then shift; targets=("$@"); break; fi
    options+=("$1"); shift
  done
  local launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$KABINOR_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" ${options[@]+"${options[@]}"}
  else
    cmake "$dir" ${options[@]+"${options[@]}"} >/dev/null
  fi
  if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
  else
    cmake --build "$dir" -j "$(nproc)"
  fi
}
