#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those still missing.
#   scripts/install-deps.sh          native 64-bit build, tests, benchmarks
#   scripts/install-deps.sh i386     adds the 32-bit x86 toolchain and libraries
#   scripts/install-deps.sh fuzz     adds clang with libFuzzer
#   scripts/install-deps.sh coverage adds gcovr for the line coverage report
set -euo pipefail

native=(
  build-essential cmake pkg-config ccache git
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev libpng-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
  libcairo2-dev
  libgeographiclib-dev libproj-dev proj-data libeigen3-dev libsqlite3-dev
  imagemagick locales xplanet-images
  qt6-base-dev xvfb xauth
)
i386=(
  g++-multilib
  libjpeg62-turbo-dev:i386 libpng-dev:i386 libfreetype-dev:i386 libfontconfig-dev:i386
  libgtest-dev:i386 libgmock-dev:i386 zlib1g-dev:i386
)
fuzz=(clang libclang-rt-14-dev)
coverage=(gcovr)

wanted=("${native[@]}")
for extra in "$@"; do
  case "$extra" in
    i386) wanted+=("${i386[@]}") ;;
    fuzz) wanted+=("${fuzz[@]}") ;;
    coverage) wanted+=("${coverage[@]}") ;;
    *) echo "install-deps: unknown set '$extra'" >&2; exit 2 ;;
  esac
done

# A package installed for both architectures answers a plain query twice, so
# ask for the native one first; architecture-independent packages answer only
# to the plain name.
native_arch=$(dpkg --print-architecture)
installed() {
  local status
  if [[ "$1" == *:* ]]; then
    status=$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)
  else
    status=$(dpkg-query -W -f='${Status}' "$1:$native_arch" 2>/dev/null ||
             dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)
  fi
  [[ "$status" == "install ok installed" ]]
}

missing=()
for pkg in "${wanted[@]}"; do
  installed "$pkg" || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: these packages are missing and installing them needs root:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
