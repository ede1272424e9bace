#!/usr/bin/env bash
# Builds Nutrisor and starts it on its built-in reference data and the sample farm.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2 --target nutrisor make_sample_farm sample_farm
args=(--data-dir build/data --farm-dir build/sample-farm "$@")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/src/nutrisor "${args[@]}"
elif command -v xvfb-run >/dev/null; then
    echo "No display found: starting Nutrisor under xvfb-run (an invisible screen)." >&2
    exec xvfb-run -a build/src/nutrisor "${args[@]}"
else
    echo "No display found (DISPLAY is not set) and xvfb-run is missing: Nutrisor needs a screen." >&2
    exit 1
fi
