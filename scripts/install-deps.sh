#!/usr/bin/env bash
# Installs the Debian packages Marrowdale needs to build, run and test.
# Does nothing slow when everything is already there.
set -euo pipefail

AMD64_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libxcb1-dev  # the window manager's close request, read before Qt's modal check drops it
  libreoffice-writer libreofficekit-dev libreoffice-dev
  libturbojpeg0-dev libjpeg62-turbo-dev
  libmupdf-dev  # draws the pages; static libraries, linked with the libraries below
  libfreetype-dev libharfbuzz-dev libopenjp2-7-dev libjbig2dec0-dev libgumbo-dev libmujs-dev libpng-dev zlib1g-dev
  libzip-dev libgsf-1-dev python3-uno
  g++-multilib
  googletest libgtest-dev libgmock-dev
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-dejavu-core
  fonts-noto-core fonts-noto-cjk  # Thai, Devanagari and the rest; Chinese, Japanese, Korean
  xvfb xauth imagemagick netpbm libjpeg-turbo-progs poppler-utils
  pandoc util-linux procps
  python3-olefile  # bench/word-pages.sh: the page count Word stored in a .doc
  xdg-utils    # opens folders and web pages from the window
  openbox xdotool  # scripts/screenshot.sh: a small window manager under Xvfb, and the clicks
  ghostscript linux-perf  # the benchmark's peer pipeline; its CPU time
  qemu-user  # runs the i386 converter in tests where the kernel has 32-bit emulation off
  clang-format  # scripts/check-format.sh: the formatter the tree is kept in, Debian's version pinned
  clang libclang-rt-14-dev  # the fuzz targets (scripts/fuzz-build.sh): clang with libFuzzer and the sanitizers
)
I386_PACKAGES=(libjpeg62-turbo-dev:i386)  # the static libjpeg.a of the i386 converter

SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi

missing=()
for p in "${AMD64_PACKAGES[@]}" "${I386_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${SUDO[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
