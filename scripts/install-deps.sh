#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the benchmarks need.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

packages=(
    build-essential cmake ninja-build pkg-config git
    clang libclang-rt-14-dev
    juce-modules-source libpng-dev libjpeg-dev zlib1g-dev
    libasound2-dev libfreetype-dev libfontconfig1-dev
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxcomposite-dev
    libgl-dev
    fonts-roboto-unhinted
    libgtest-dev libgmock-dev libbenchmark-dev
    fst-dev
    xvfb xauth
)

export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${packages[@]}"
