# Shared by the project's scripts: where things are, the Wine settings, and installing the
# Debian packages a fresh machine lacks. Source it; it defines functions and variables only.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$TOP/build}

BUILD_PACKAGES=(cmake make g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest)
RUN_PACKAGES=(wine wine64 fonts-wine xvfb xauth imagemagick curl procps)

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Installs whichever of the named packages are missing (apt-get update once, first).
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

# Makes a locale (pl_PL.UTF-8) available where the machine lacks it.
ensure_locale() {
  local name=$1 normal
  normal=$(echo "$name" | sed 's/UTF-8$/utf8/')
  locale -a 2>/dev/null | grep -qx "$normal" && return 0
  ensure_packages locales
  local sudo=
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo localedef -i "${name%%.*}" -f UTF-8 "$name" >&2
}

build_all() {
  ensure_packages "${BUILD_PACKAGES[@]}"
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$TOP" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  fi
  cmake --build "$BUILD" -j"$(nproc)"
}

# A private Wine prefix: created once with Wine's own frames (there is no window manager under
# Xvfb), Wine's own fonts in the Windows font folder (this Wine does not find them by itself, and
# falls back to other faces without Tahoma's or Marlett's glyphs), and the desktop inside the
# prefix instead of a link to $HOME.
wine_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.tarnholm-prefix-4" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    DISPLAY= wineboot --init >/dev/null 2>&1
    wineserver -w
    local users="$WINEPREFIX/drive_c/users/$(id -un)"
    [ -d "$users" ] || users=$(ls -d "$WINEPREFIX"/drive_c/users/*/ 2>/dev/null | grep -v Public | head -n1)
    for d in Desktop Documents; do
      if [ -L "${users%/}/$d" ]; then rm "${users%/}/$d"; mkdir -p "${users%/}/$d"; fi
    done
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # Drive N:, declared a network drive in Wine's drive settings, where the uninstaller's tests
    # stage a product folder on another machine. Wine's mount manager reads the drives' types
    # only when it starts, so this is done before any test runs.
    mkdir -p "$WINEPREFIX/network-drive"
    ln -sfn ../network-drive "$WINEPREFIX/dosdevices/n:"
    DISPLAY= wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
    DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    # Menus in the forms' font, MS Sans Serif of 8 points (a LOGFONTW): Wine measures the default
    # menu font, Tahoma at 11 pixels, by its outlines but draws its embedded bitmaps, which are
    # narrower (and wider for dots), so a menu bar gets gaps and clips a trailing "...".
    DISPLAY= wine reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v MenuFont /t REG_BINARY /f \
      /d f5ffffff00000000000000000000000090010000000000ee000000004d0053002000530061006e0073002000530065007200690066000000000000000000000000000000000000000000000000000000000000000000000000000000 >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tarnholm-prefix-4"
  fi
}

# Starts Xvfb on a display it picks itself (-displayfd: no race with a neighbour's Xvfb) and
# exports DISPLAY; stop it with stop_xvfb.
start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n=
  read -r -t 10 n <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$n" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# One wineserver for a whole run: each program then starts in a fraction of a second.
# Wine's own services start with the first program and live as long as the server; starting them
# here keeps them off the output of the first test, which ctest would otherwise wait on.
start_wineserver() {
  (setsid wineserver -p >/dev/null 2>&1 </dev/null &)
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}
stop_wineserver() { wineserver -k 2>/dev/null || true; }
