#!/usr/bin/env bash
# Builds the VST2 plug-in in Release and installs it as ~/.vst/Sombrax.so.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=build/release
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSOMBRAX_BUILD_TESTS=OFF -DSOMBRAX_LTO=ON
cmake --build "$build_dir" --target Sombrax_VST -j"$(nproc)"

plugin=$(find "$build_dir" -name Sombrax.so -path '*VST*' | head -n 1)
mkdir -p "$HOME/.vst"
install -m 0755 "$plugin" "$HOME/.vst/Sombrax.so"
echo "Installed $HOME/.vst/Sombrax.so"
