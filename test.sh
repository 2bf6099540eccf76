#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: ./test.sh
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

./scripts/install-deps.sh
# Configured once; after that the build itself configures again when a CMake file changed.
[[ -f build/release/build.ninja ]] || cmake --preset release >/dev/null
cmake --build --preset release
ctest --preset release -j "$(nproc)"
