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

SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi

missing=()
for p in "${AMD64_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The i386 converter links libjpeg statically. Its archive and headers are unpacked from Debian's i386
# package into the source tree, not installed: an installed i386 package needs its i386 libraries at
# exactly the versions of the amd64 ones, and that breaks whenever the two architectures' package
# indexes are out of step (a security mirror part-way through a sync, say).
JPEG32_ROOT="$(cd "$(dirname "$0")/.." && pwd)/.deps/libjpeg-i386"
JPEG32_PACKAGE=libjpeg62-turbo-dev:i386
need_jpeg32=false
[ -f "$JPEG32_ROOT/usr/lib/i386-linux-gnu/libjpeg.a" ] || need_jpeg32=true

[ ${#missing[@]} -eq 0 ] && [ "$need_jpeg32" = false ] && exit 0

export DEBIAN_FRONTEND=noninteractive
update_indexes() {
  # A mirror in the middle of a sync serves an index of the wrong size: ask again, and if one index still
  # fails, go on with the ones that were read (apt-get says clearly if a package is then missing).
  for attempt in 1 2 3; do
    if "${SUDO[@]}" apt-get update -qq; then return 0; fi
    [ "$attempt" -eq 3 ] && break
    echo "A package index could not be read; asking again in $((attempt * 15)) s." >&2
    sleep $((attempt * 15))
  done
  echo "Some package indexes could not be read; going on with the ones that were." >&2
}

indexes_updated=false
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  update_indexes
  indexes_updated=true
  "${SUDO[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "$need_jpeg32" = true ]; then
  echo "Unpacking $JPEG32_PACKAGE into $JPEG32_ROOT"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${SUDO[@]}" dpkg --add-architecture i386
    indexes_updated=false
  fi
  if [ "$indexes_updated" = false ] && ! apt-cache show "$JPEG32_PACKAGE" > /dev/null 2>&1; then
    update_indexes
  fi
  download_dir="$(mktemp -d)"
  trap 'rm -rf "$download_dir"' EXIT
  chmod 755 "$download_dir"  # apt's own download user writes into it
  (cd "$download_dir" && apt-get download -qq "$JPEG32_PACKAGE")
  rm -rf "$JPEG32_ROOT"
  mkdir -p "$JPEG32_ROOT"
  dpkg-deb -x "$download_dir"/*.deb "$JPEG32_ROOT"
fi
