#!/usr/bin/env bash
# Builds Nutrisor and starts it on its built-in reference data and the sample farm. It builds in
# build-run/, apart from the Debug build of scripts/test.sh in build/, so neither rebuilds the other.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-run -j2 --target nutrisor make_sample_farm sample_farm user_guide
args=(--data-dir build-run/data --farm-dir build-run/sample-farm "$@")
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build-run/src/nutrisor "${args[@]}"
elif command -v xvfb-run >/dev/null; then
    echo "No display found: starting Nutrisor under xvfb-run (an invisible screen)." >&2
    exec xvfb-run -a build-run/src/nutrisor "${args[@]}"
else
    echo "No display found (DISPLAY is not set) and xvfb-run is missing: Nutrisor needs a screen." >&2
    exit 1
fi
