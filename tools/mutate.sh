#!/usr/bin/env bash
# Mutation testing of platform-free folders against the native unit tests, for example
#   tools/mutate.sh --max 80 --seed 1 --equivalent tools/mutate-equivalent.txt storage food
# Every mutant is made in a copy of the repository (build/mut/src), never in the working tree.
# tools/mutate.py --help describes the operators and options.
set -euo pipefail
exec python3 "$(dirname "$0")/mutate.py" "$@"
