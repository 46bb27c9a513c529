# Shared by scripts/test and scripts/run: package check, build, private Wine and Xvfb.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
case "$BUILD_DIR" in /*) ;; *) BUILD_DIR="$ROOT/$BUILD_DIR" ;; esac

vm_need_setup() {
  local t
  for t in c++ clang++ x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres wine wine64 wineserver Xvfb xauth cmake make convert zip chmcmd extract_chmLib unshare; do
    command -v "$t" >/dev/null 2>&1 || return 0
  done
  [ -f /usr/src/googletest/CMakeLists.txt ] || return 0
  [ -f /usr/x86_64-w64-mingw32/lib/libz.a ] || return 0
  dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed" || return 0
  [ -d /usr/share/icons/oxygen/base/32x32 ] || return 0
  [ -d /usr/share/icons/crystalblue/cursors ] || return 0
  local font
  for font in truetype/wqy/wqy-microhei.ttc truetype/dejavu/DejaVuSans.ttf truetype/ancient-scripts/Symbola_hint.ttf; do
    [ -f "/usr/share/fonts/$font" ] || return 0
  done
  return 1
}

vm_setup() {
  if vm_need_setup; then "$ROOT/scripts/setup"; fi
}

vm_build() {
  local werror=ON
  # Where ccache is installed it serves every work tree of the project from
  # one cache: paths below the tree are taken as relative.
  local launcher=()
  if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S "$ROOT" -B "$BUILD_DIR" "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVM_WERROR="$werror" >"$BUILD_DIR.configure.log" 2>&1 \
    || { cat "$BUILD_DIR.configure.log"; return 1; }
  # VM_BUILD_TARGETS (optional, blank-separated) builds only those targets.
  local targets=()
  if [ -n "${VM_BUILD_TARGETS:-}" ]; then
    local t
    for t in $VM_BUILD_TARGETS; do targets+=(--target "$t"); done
  fi
  cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}" "$@"
}

# A private Wine prefix and HOME under the build folder, never a user's own.
# The optional name keeps the program's own prefix ("run") apart from the one
# the tests write their settings into.
vm_wine_env() {
  local name="${1:-}"
  export WINEPREFIX="$BUILD_DIR/wineprefix${name:+-$name}"
  export HOME="$BUILD_DIR/home${name:+-$name}"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  export XDG_CACHE_HOME="$HOME/.cache" XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
  mkdir -p "$HOME"
  vm_wine_one_cpu
}

# Wine runs free on every processor unless VM_WINE_CPU names one: then its
# processes (its server, the program and the helpers they start) share that
# processor, through wrappers for wine, wine64 and wineserver that come first
# on the PATH. bench/run times both in alternating rounds. Pinned by default,
# two runs on one machine (a test run beside bench/run) shared one processor,
# and the pinned rounds took 1.5 to 2.4 times as long as the free ones; so the
# default is free, and "all" says free as well.
vm_wine_one_cpu() {
  # Wrappers an earlier call put on the PATH go first, so that "all" really
  # leaves Wine free in a shell that ran it pinned before.
  local shim="$BUILD_DIR/wine-one-cpu"
  local path=":$PATH:"
  path="${path//:$shim:/:}"
  path="${path#:}"
  path="${path%:}"
  export PATH="$path"
  local cpu="${VM_WINE_CPU:-}"
  case "$cpu" in '' | *[!0-9]*) return 0 ;; esac
  command -v taskset >/dev/null 2>&1 || return 0
  mkdir -p "$shim"
  local t real
  for t in wine wine64 wineserver; do
    real="$(PATH="$path" command -v "$t")" || continue
    printf '#!/bin/sh\nexec taskset -c %s "%s" "$@"\n' "$cpu" "$real" >"$shim/$t"
    chmod +x "$shim/$t"
  done
  export PATH="$shim:$path"
}

VM_XVFB_PID=""
# Starts a 24-bit Xvfb on a free display and exports DISPLAY.
vm_start_xvfb() {
  local fdfile="$BUILD_DIR/xvfb.display"
  rm -f "$fdfile"
  Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset 9>"$fdfile" >"$BUILD_DIR/xvfb.log" 2>&1 &
  VM_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile" | tr -d '[:space:]')"
}

vm_start_wine() {
  wineserver -p >/dev/null 2>&1
  # The first boot of a new prefix is slow; its helper processes must not
  # hold a pipe of ours, so everything goes to a file.
  wine wineboot -u >"$BUILD_DIR/wineboot.log" 2>&1 || true
}

# The program's text asks for "MS Shell Dlg", which Wine takes for Tahoma;
# Debian's Wine has no Tahoma and draws it in DejaVu Sans, which has no Chinese,
# Japanese or Korean. DejaVu Sans falls back on the fonts setup installs:
# WenQuanYi Micro Hei for those scripts and Symbola for symbols and emoji.
# (Wine rewrites the links of Tahoma itself whenever the code page of its
# processes changes; it leaves these alone.)
vm_font_fallback() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "DejaVu Sans" \
    /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei\0Symbola_hint.ttf,Symbola' /f \
    >"$BUILD_DIR/font-fallback.log" 2>&1 || echo "the fallback fonts could not be set" >&2
}

# No window manager runs under Xvfb: Wine waits for one whenever it shows or
# withdraws a window it leaves to the manager. The tests' prefix has Wine
# place its windows itself.
vm_unmanaged_windows() {
  local managed=N
  [ -n "${VM_WINDOW_MANAGER:-}" ] && managed=Y
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >"$BUILD_DIR/wine-x11.log" 2>&1 || true
}

VM_WM_PID=""
# A window manager on the virtual screen when VM_WINDOW_MANAGER names one
# (openbox): the scenarios of focus and z-order run under one as well as
# without, where the program itself must activate what Windows would.
vm_start_window_manager() {
  [ -n "${VM_WINDOW_MANAGER:-}" ] || return 0
  command -v "$VM_WINDOW_MANAGER" >/dev/null 2>&1 || { echo "$VM_WINDOW_MANAGER is not installed" >&2; return 1; }
  "$VM_WINDOW_MANAGER" >"$BUILD_DIR/window-manager.log" 2>&1 &
  VM_WM_PID=$!
  sleep 1
}

# A test that crashes ends with its backtrace in the log, instead of waiting
# behind Wine's crash window for the test's time limit.
vm_no_crash_window() {
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >"$BUILD_DIR/wine-crash.log" 2>&1 || true
}

vm_stop_all() {
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$VM_WM_PID" ]; then kill "$VM_WM_PID" >/dev/null 2>&1 || true; fi
  if [ -n "$VM_XVFB_PID" ]; then kill "$VM_XVFB_PID" >/dev/null 2>&1 || true; wait "$VM_XVFB_PID" 2>/dev/null || true; fi
}
