# libpng for the Windows build and for the fuzz targets: compiled from Debian's libpng1.6
# source package (with Debian's patches) into .deps/mingw-i686 and .deps/fuzz, both reduced
# to what the logo decoder needs by the options file logo/pngusr.dfa. Sourced by
# scripts/setup.

enable_deb_src() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  if apt-cache showsrc libpng1.6 2>/dev/null | grep -q '^Version'; then
    return 0
  fi
  local src
  src=$(grep -ls '^Types: *deb$' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  if [ -n "$src" ]; then
    # Same URIs, suites, components and keyring as the machine's own Debian entry (its first
    # stanza; the security mirror need not carry sources for every update).
    awk 'BEGIN{RS="";ORS="\n\n"} NR==1{sub(/Types: *deb\n/,"Types: deb-src\n"); print}' "$src" |
      $sudo tee /etc/apt/sources.list.d/dialnest-deb-src.sources >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
      $sudo tee /etc/apt/sources.list.d/dialnest-deb-src.list >/dev/null
  else
    echo "setup: no Debian source entry found to mirror for deb-src" >&2
    return 1
  fi
  $sudo apt-get update -qq
}

# Builds Debian's libpng source into <prefix> as a static library with the features the
# options file names; further arguments go to CMake. Quick when the prefix already holds it.
build_libpng() {
  local root=$1 prefix=$2 what=$3
  shift 3
  local options="$root/logo/pngusr.dfa"
  # The prefix remembers how it was built, so that a change of options builds it anew.
  local recipe="$prefix/.dialnest-recipe"
  local wanted
  wanted="$* $(sha256sum < "$options")"
  if [ -f "$prefix/lib/libpng16.a" ] && [ -f "$prefix/include/png.h" ] &&
     [ "$(cat "$recipe" 2>/dev/null)" = "$wanted" ]; then
    return 0
  fi
  echo "setup: building libpng $what from Debian's source package"
  enable_deb_src
  local work="$root/.deps/src"
  rm -rf "$work"
  mkdir -p "$work"
  (cd "$work" && apt-get source -qq libpng1.6 >/dev/null 2>&1) || {
    echo "setup: apt-get source libpng1.6 failed" >&2
    return 1
  }
  local srcdir
  srcdir=$(find "$work" -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)
  cmake -S "$srcdir" -B "$work/build" -G Ninja \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_EXECUTABLES=ON -DSKIP_INSTALL_PROGRAMS=ON \
    -DDFA_XTRA="$options" "$@" >/dev/null
  cmake --build "$work/build" >/dev/null
  # Without awk libpng's build takes its stock configuration and ignores the options file.
  if grep -q '^#define PNG_WRITE_SUPPORTED' "$work/build/pnglibconf.h"; then
    echo "setup: libpng was built without $options (is awk installed?)" >&2
    return 1
  fi
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  echo "$wanted" > "$recipe"
}

# For 32-bit Windows, small: each function in its own section and no unwind tables (the
# linker keeps whatever unwind tables describe), so that the program's link keeps only the
# decoder paths it calls. Beside it Debian's mingw zlib without its unwind tables, for the
# same reason: otherwise the compressor, which nothing the program links refers to, stays.
build_mingw_libpng() {
  local root=$1
  local prefix="$root/.deps/mingw-i686"
  build_libpng "$root" "$prefix" "for 32-bit mingw-w64" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DZLIB_USE_STATIC_LIBS=ON \
    -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables"
  local zlib=/usr/i686-w64-mingw32/lib/libz.a
  if [ ! -f "$prefix/lib/libz.a" ] || [ "$zlib" -nt "$prefix/lib/libz.a" ]; then
    i686-w64-mingw32-objcopy --remove-section=.eh_frame "$zlib" "$prefix/lib/libz.a"
  fi
}

# The fuzz build's libpng carries the fuzzer's coverage and the sanitizers, so that the PNG
# target sees into the decoder it feeds rather than only our side of it.
build_fuzz_libpng() {
  local root=$1
  build_libpng "$root" "$root/.deps/fuzz" "for the fuzz targets" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
}
