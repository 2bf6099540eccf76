#!/usr/bin/env bash
# Installs what is missing, builds the editor (Release) and starts it: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

./scripts/install-deps.sh
# Configured when the tree is new or the presets changed; otherwise the build itself
# configures again when a CMake file changed.
[[ build/release/build.ninja -nt CMakePresets.json ]] || cmake --preset release >/dev/null
cmake --build --preset release --target vornel

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "The editor needs a graphical display, and none is set (DISPLAY or WAYLAND_DISPLAY)." >&2
  echo "To run it without one, start it under a virtual display: xvfb-run ./run.sh" >&2
  exit 2
fi
exec ./build/release/app/vornel "$@"
