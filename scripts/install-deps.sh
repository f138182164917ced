#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Does nothing (and needs no network) when everything is already there.
set -euo pipefail

build_packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-multimedia-dev
  # The install test validates the menu entry and the AppStream metadata with these.
  desktop-file-utils appstream
  # The PGN round trip reads the opening file pgn-extract ships: real games from other hands.
  pgn-extract
)
run_packages=(
  libqt6widgets6 libqt6multimedia6 qt6-qpa-plugins fonts-dejavu-core
)
# Wanted by `make fuzz`, the engine matches (tarnwick/tools/match.py), the PGN
# speed comparison, trying the window under a virtual display, reading the
# installed manual pages and training Tarnwick's network; not by the build.
extra_packages=(
  clang libclang-rt-14-dev
  stockfish gnuchess glaurung toga2 ethereal-chess
  xvfb xauth xdotool openbox imagemagick
  man-db
  python3-torch python3-numpy
)

wanted=("${build_packages[@]}" "${run_packages[@]}")
if [ "${1:-}" = "--extras" ]; then
  wanted+=("${extra_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
apt="$sudo apt-get -o DPkg::Lock::Timeout=600"
$apt update -qq
$apt install -y -qq --no-install-recommends "${missing[@]}"
