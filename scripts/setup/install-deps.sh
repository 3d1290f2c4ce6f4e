#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vek need,
# but only those that are missing. Safe to run again and again.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libwxgtk3.2-dev wx3.2-headers libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev libtbb-dev libosmesa6-dev libpng-dev
  libeigen3-dev
  help2man
  fonts-ipafont-gothic
  snakemake
)
if [ "${1:-}" = "--test" ]; then
  # clang and its runtime libraries build the fuzz targets (libFuzzer).
  packages+=(xvfb xauth xdotool imagemagick x11-utils clang libclang-rt-14-dev)
  # The package checks: desktop entry, software-centre entry, the .deb.
  packages+=(desktop-file-utils appstream lintian man-db)
  # The atlas: a single-node Slurm cluster for its cluster test, a browser
  # for its gallery.
  packages+=(slurm-wlm munge chromium)
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please install as root: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
