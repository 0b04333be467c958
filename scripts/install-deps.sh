#!/usr/bin/env bash
# Installs the Debian packages that Kemptor/VB needs, by purpose:
#   install-deps.sh            building, running and testing on Linux (make run, make test)
#   install-deps.sh --windows  also the mingw-w64 cross compiler and Wine (make windows, test-windows,
#                              windows-package)
#   install-deps.sh --package  also what building and checking the Debian packages needs (make package)
# Packages already present are skipped; works as root or through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-charts-dev libqt6charts6 libqt6svg6 qt6-qpa-plugins
  libgl-dev libxkbcommon-dev
  libhunspell-dev hunspell-en-us
  libgtest-dev libgmock-dev googletest
  libcli11-dev nlohmann-json3-dev
  xvfb xauth x11-apps imagemagick
  git pre-commit
  fonts-dejavu-core
  neovim nodejs
  man-db
)
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64)
# dpkg-shlibdeps and file for CPack; the icons rendered from their SVG; the package, desktop-file and
# AppStream checkers.
PACKAGE_PACKAGES=(dpkg-dev file librsvg2-bin lintian desktop-file-utils appstream)

for arg in "$@"; do
  case $arg in
    --windows) PACKAGES+=("${WINDOWS_PACKAGES[@]}") ;;
    --package) PACKAGES+=("${PACKAGE_PACKAGES[@]}") ;;
    *)
      echo "usage: install-deps.sh [--windows] [--package]" >&2
      exit 2
      ;;
  esac
done
# npm packages the VS Code extension; a Node.js that bundles its own npm (and conflicts with Debian's)
# is left as it is.
command -v npm >/dev/null 2>&1 || PACKAGES+=(npm)

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: this script installs Debian 12 packages with apt-get, which this system does not have." >&2
  echo "install-deps: install the equivalents of these packages yourself: ${PACKAGES[*]}" >&2
  exit 1
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  SUDO=(sudo)
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
  echo "install-deps: sudo will ask for your password to install: ${missing[*]}"
else
  echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
  echo "install-deps: run this script as root, or install those packages with apt-get" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
