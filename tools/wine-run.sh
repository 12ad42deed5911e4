#!/usr/bin/env bash
# Runs one Windows executable under Wine in the project's prefix (the test launcher of the Windows build).
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
mirepan_wine_prefix
exe=$1
shift
exec wine "$exe" "$@"
