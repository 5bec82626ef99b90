# Debian packages that the builds, the tests and Wine need. Sourced by scripts/setup.
# Everything we build for Windows is 32-bit, so Wine's 32-bit half comes from the i386
# architecture.

dialnest_packages=(
  build-essential cmake ninja-build pkg-config git dpkg-dev
  clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  mingw-w64 g++-mingw-w64-i686 libz-mingw-w64-dev
  wine wine32:i386 fonts-wine xvfb xauth x11-utils imagemagick
  locales fonts-ipafont-gothic
  osslsigncode openssl
)

install_packages() {
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  # Once added, wine32:i386 counts as missing until the update below has fetched its lists.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture for 32-bit Wine"
    $sudo dpkg --add-architecture i386
  fi
  local missing=()
  local p
  for p in "${dialnest_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_locale() {
  if locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
    return 0
  fi
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "setup: generating the ja_JP.UTF-8 locale"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  fi
  $sudo locale-gen >/dev/null
}
