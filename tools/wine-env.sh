# Sourced by the scripts that run Windows programs: one private Wine prefix under build/, quiet,
# without the Mono and Gecko install prompts.
MIREPAN_ROOT=${MIREPAN_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$MIREPAN_ROOT/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
export WINEARCH=win64

mirepan_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    # A virtual display has no window manager: Wine draws the captions and frames itself, and
    # does not wait for a window manager to confirm that a window was hidden (two seconds a
    # dialog otherwise).
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Wine draws the caption buttons with its Marlett font; without it in the prefix they show as
  # the letters "0 1 r".
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  fi
}
