# Shared by scripts/test and scripts/demo: a private X display, private Wine prefixes
# (a Japanese system and an English one) and a persistent wineserver for each.
# Everything started here is recorded by PID and stopped by wine_env_stop.
#
# PELLORY_WINE_ARCH chooses the Wine:
#   win64 (default)  the host's wine64, for the x86_64 build;
#   win32            the 32-bit Wine of the i386 root (scripts/setup-wine32), for the shipped
#                    i686 build; only inside scripts/lib/wine32-root, which mounts that root.
# This machine's kernel runs no 32-bit code natively: the 32-bit Wine runs under qemu.

_wine_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ "${PELLORY_WINE_ARCH:-win64}" = win32 ]; then
  WINE=$_wine_lib/wine32
  WINESERVER=$_wine_lib/wineserver32
  export WINELOADER=/usr/lib/wine/wine  # as the root sees it
else
  WINE=/usr/lib/wine/wine64
  WINESERVER=/usr/lib/wine/wineserver64
  export WINELOADER=$WINE
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

_wine_pids=()

wine_env_init() {  # STATE_DIR
  WINE_STATE=$1
  mkdir -p "$WINE_STATE/locale" "$WINE_STATE/run"
  export PELLORY_WINE_STATE=$WINE_STATE
  export LOCPATH=$WINE_STATE/locale
  # A Japanese system needs a generated glibc locale; LANG alone is not enough.
  [ -d "$LOCPATH/ja_JP.UTF-8" ] || localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
  [ -d "$LOCPATH/en_US.UTF-8" ] || localedef -i en_US -f UTF-8 "$LOCPATH/en_US.UTF-8" 2>/dev/null || true
}

wine_lang_env() {  # ja|en: prints the locale for that system
  case $1 in ja) echo ja_JP.UTF-8 ;; *) echo en_US.UTF-8 ;; esac
}

wine_env_xvfb() {
  if [ -n "${PELLORY_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ]; then return; fi
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  _wine_pids+=($!)
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.05; done
}

_wine_prefix_settings() {
  cat <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
REG
}

wine_env_prefix() {  # ja|en: makes (once) and starts the prefix of that system; prints its path
  local lang=$1 pfx="$WINE_STATE/prefix-$1"
  local loc; loc=$(wine_lang_env "$lang")
  if [ ! -f "$pfx/.pellory-ready" ]; then
    rm -rf "$pfx"
    WINEPREFIX=$pfx LC_ALL=$loc "$WINE" wineboot -i >/dev/null 2>&1 || true
    _wine_prefix_settings > "$WINE_STATE/run/settings.reg"
    WINEPREFIX=$pfx LC_ALL=$loc "$WINE" regedit /S "$(WINEPREFIX=$pfx "$WINE" winepath -w "$WINE_STATE/run/settings.reg" 2>/dev/null)" >/dev/null 2>&1 || true
    WINEPREFIX=$pfx "$WINESERVER" -w
    touch "$pfx/.pellory-ready"
  fi
  # A persistent wineserver: without it every start pays for a new server.
  WINEPREFIX=$pfx "$WINESERVER" -f -p >/dev/null 2>&1 &
  _wine_pids+=($!)
  # Start the prefix's own services now, detached from any caller's output: started by the
  # first test instead, they would hold ctest's output pipe open.
  WINEPREFIX=$pfx LC_ALL=$loc "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
  echo "$pfx"
}

wine_env_stop() {
  local pfx
  for pfx in "$WINE_STATE"/prefix-*; do
    [ -d "$pfx" ] && WINEPREFIX=$pfx "$WINESERVER" -k >/dev/null 2>&1 || true
  done
  local p
  for p in "${_wine_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${_wine_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  _wine_pids=()
}
