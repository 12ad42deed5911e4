#!/usr/bin/env bash
# Builds Mirepan if needed and starts it under Wine: on the user's display when DISPLAY is set,
# otherwise on a virtual one.
set -euo pipefail
cd "$(dirname "$0")"
./build.sh --program >/dev/null
source tools/wine-env.sh
mirepan_wine_prefix
exe=build/win/app/Mirepan.exe
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$@"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$exe" "$@"
fi
