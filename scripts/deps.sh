#!/usr/bin/env bash
# Installs whatever this project needs that the machine lacks: Debian packages
# (apt) and the page's npm packages. Quiet and quick when all is present.
#   scripts/deps.sh          what building and playing needs
#   scripts/deps.sh --test   plus what the test suite needs
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_PACKAGES=(
  cmake ninja-build g++ pkg-config python3
  glslang-tools libsdl2-dev libvulkan-dev libvulkan-volk-dev libopenal-dev
  liblitehtml-dev libgumbo-dev libcairo2-dev libfreetype-dev libharfbuzz-dev libfontconfig-dev
  libjavascriptcoregtk-4.1-dev
  mesa-vulkan-drivers zlib1g-dev
)
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth vulkan-validationlayers
  clang libclang-rt-14-dev clang-format-14 fonts-dejavu-core xdotool x11-utils libx11-dev
  desktop-file-utils appstream groff-base dpkg-dev file
)

# Node.js and npm only matter once the page pins npm packages.
NPM_PACKAGES=(nodejs npm)

wanted=("${BUILD_PACKAGES[@]}")
if [[ "${1:-}" == "--test" ]]; then wanted+=("${TEST_PACKAGES[@]}"); fi
if [[ -f package.json ]]; then wanted+=("${NPM_PACKAGES[@]}"); fi

as_root() {
  if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}

missing=()
for pkg in "${wanted[@]}"; do
  # nodejs/npm may come from elsewhere (a newer Node on the PATH is fine).
  if [[ $pkg == nodejs ]] && command -v node >/dev/null; then continue; fi
  if [[ $pkg == npm ]] && command -v npm >/dev/null; then continue; fi
  status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
  [[ $status == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# The page's fonts come from the npm registry, pinned by package-lock.json.
if [[ -f package.json ]]; then
  if [[ ! -d node_modules ]] || [[ package-lock.json -nt node_modules ]]; then
    echo "deps: installing npm packages"
    npm ci --ignore-scripts --no-audit --no-fund --loglevel=error >/dev/null
    touch node_modules
  fi
fi
