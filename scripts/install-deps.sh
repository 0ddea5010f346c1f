#!/usr/bin/env bash
# Installs everything QuoteShow needs to build, run, test, benchmark and
# package, from Debian 12's archive. Run as root.
set -euo pipefail

packages=(
  # build
  cmake make g++ qt6-base-dev qt6-qpa-plugins pkg-config
  # run: the look-alike for "Comic Sans MS"
  fonts-comic-neue fonts-dejavu-core
  # tests on a real X server, and what a screen reader reads
  xvfb xauth x11-utils xdotool openbox dbus dbus-x11 at-spi2-core python3 python3-pyatspi imagemagick
  # benchmarks, fuzzing, sanitizers
  libbenchmark-dev hyperfine clang-14 libclang-rt-14-dev valgrind
  # installing and packaging checks
  desktop-file-utils appstream man-db dpkg-dev file
)

export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
