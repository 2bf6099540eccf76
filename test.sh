#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: ./test.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

./scripts/install-deps.sh
# Configured when the tree is new or the presets changed; otherwise the build itself
# configures again when a CMake file changed.
[[ build/release/build.ninja -nt CMakePresets.json ]] || cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j "$(nproc)"
