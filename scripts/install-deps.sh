#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the editor need, and fetches the
# Bravura music font into .cache/bravura. Idempotent: does nothing when all is present.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  # build and tests
  cmake ninja-build g++ pkg-config ccache clang libclang-rt-14-dev lld flex bison
  libgtest-dev libgmock-dev libbenchmark-dev
  # libraries
  libtinyxml2-dev zlib1g-dev libpng-dev libjpeg-dev libtiff-dev libgif-dev
  libwxgtk3.2-dev libcairo2-dev libpango1.0-dev libfontconfig-dev
  libfluidsynth-dev timgm6mb-soundfont librtmidi-dev libsdl2-dev libcurl4-openssl-dev
  # window tests, fonts and the tools the tests compare against
  xvfb xauth fonts-liberation2 fonts-dejavu-core poppler-utils imagemagick python3-pil
  python3-mido zip unzip libxml2-utils
  # fetching the music font
  nodejs npm
)

# One query for every package: those reported installed are crossed off, the rest are missing.
declare -A installed=()
while read -r package status; do
  [[ "$status" == "install ok installed" ]] && installed[$package]=1
done < <(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  [[ -n "${installed[$p]:-}" ]] || missing+=("$p")
done
# npm may come with a node installation that is not a Debian package
if command -v npm >/dev/null 2>&1; then
  filtered=()
  for p in "${missing[@]}"; do [[ "$p" == nodejs || "$p" == npm ]] || filtered+=("$p"); done
  missing=("${filtered[@]+"${filtered[@]}"}")
fi

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Bravura (SIL OFL 1.1) from the npm registry, kept in an ignored cache folder.
bravura_dir="$here/.cache/bravura"
if [[ ! -f "$bravura_dir/bravura.otf" || ! -f "$bravura_dir/metadata.json" ]]; then
  echo "Fetching the Bravura font"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && npm pack --silent @vexflow-fonts/bravura@1.0.2 >/dev/null)
  tar -xzf "$tmp"/*.tgz -C "$tmp"
  mkdir -p "$bravura_dir"
  found_otf=$(find "$tmp/package" -name 'bravura.otf' -o -name 'Bravura.otf' | head -n 1)
  found_meta=$(find "$tmp/package" -name 'metadata.json' -o -name 'bravura_metadata.json' | head -n 1)
  found_licence=$(find "$tmp/package" -iname 'LICENSE*' | head -n 1)
  [[ -n "$found_otf" && -n "$found_meta" ]] || { echo "The Bravura package has no font or metadata" >&2; exit 1; }
  cp "$found_otf" "$bravura_dir/bravura.otf"
  cp "$found_meta" "$bravura_dir/metadata.json"
  [[ -n "$found_licence" ]] && cp "$found_licence" "$bravura_dir/LICENSE.txt"
fi
