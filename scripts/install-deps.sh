#!/usr/bin/env bash
# Installs the Debian packages both builds and their tests need. Safe to run again.
# --native: only what the native build needs: to configure, build and test it, run it on Xvfb
# and under headless Wayland compositors (sway, weston), and make its Debian package.
set -euo pipefail

native=(
  cmake ninja-build g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev
  libosmesa6-dev libglu1-mesa-dev libpng-dev libjpeg62-turbo-dev libwebp-dev
  libx11-dev libxext-dev libgl-dev libxinerama-dev libxrandr-dev libglx-mesa0 libgl1-mesa-dri
  libwayland-dev wayland-protocols libegl-dev libopengl-dev libegl-mesa0
  xvfb xauth x11-utils imagemagick dpkg-dev groff-base file
  sway swaybg grim wtype swayidle weston
)
packages=(
  "${native[@]}"
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix
  wine wine64 libxinerama1
  xserver-xephyr x11-apps xdotool
  nsis zip
  lintian man-db desktop-file-utils
)
# 32-bit Wine and the 32-bit libraries it draws with. Without them the Windows tests run on the
# 64-bit build, as on a machine whose kernel runs no 32-bit programs.
packages_32_bit=(
  wine32:i386 libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386 libglu1-mesa:i386
  libxcomposite1:i386 libxinerama1:i386
)
if [ "${1:-}" = --native ]; then
  packages=("${native[@]}")
  packages_32_bit=()
fi

missing_from() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
mapfile -t missing < <(missing_from "${packages[@]}")
mapfile -t missing_32_bit < <(missing_from "${packages_32_bit[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_32_bit[@]} -eq 0 ] && exit 0

# Root installs directly; anyone else through sudo.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
install() {
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -q --no-install-recommends "$@"
}
echo "installing: ${missing[*]} ${missing_32_bit[*]}"
if [ ${#missing_32_bit[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || "${as_root[@]}" dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails one index; the lists it did fetch still serve the install.
"${as_root[@]}" apt-get update -q || echo "apt-get update reported a failure; installing from the lists it has"
# NOTE: while the i386 lists lag the amd64 ones (a mirror mid-sync), the 32-bit packages cannot
# be installed at matching versions; everything else still can.
if [ ${#missing_32_bit[@]} -eq 0 ]; then
  install "${missing[@]}"
else
  log=$(mktemp)
  install "${missing[@]}" "${missing_32_bit[@]}" >"$log" 2>&1 || {
    grep -E '^E:' "$log" | head -3
    echo "the 32-bit Wine packages cannot be installed now; the Windows tests and scripts/run.sh will use the 64-bit build"
    [ ${#missing[@]} -eq 0 ] || install "${missing[@]}"
  }
  rm -f "$log"
fi
