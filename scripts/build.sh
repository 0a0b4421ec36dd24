#!/usr/bin/env bash
# Configures (once) and builds the whole tree into build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QUINTARIS_BUILD_DIR:-$root/build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${QUINTARIS_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}"
fi
cmake --build "$build" -j "$(nproc)"
