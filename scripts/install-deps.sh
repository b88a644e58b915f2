#!/usr/bin/env bash
# Installs the Debian 12 packages the SDK, its tests and its tools build against.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates openssl
  clang clang-format libclang-rt-14-dev
  libcurl4-openssl-dev
  libsimdjson-dev nlohmann-json3-dev
  libsqlite3-dev
  libpng-dev libturbojpeg0-dev libwebp-dev libexif-dev libjpeg62-turbo-dev
  libasio-dev liburiparser-dev uuid-dev libfontconfig-dev libhowardhinnant-date-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev libssl-dev libmicrohttpd-dev wrk
  ccache
  # The Qt Quick binding and its tests (Qt 6.4). The QML modules below are not pulled in by
  # qt6-declarative-dev; the tests render offscreen with the software scene graph.
  qt6-base-dev qt6-declarative-dev qml6-module-qtquick qml6-module-qtquick-window
  qml6-module-qtqml-workerscript qml6-module-qttest
  # The story viewer: buttons, glyphs and video (Qt's FFmpeg media backend ships with
  # libqt6multimedia6); xvfb-run shows video frames, which render black offscreen.
  qml6-module-qtquick-templates qml6-module-qtquick-shapes qml6-module-qtmultimedia qt6-multimedia-dev
  qt6-svg-dev
  xvfb xauth
  # quenmark-demo: Qt Quick Controls for its own screens, and a colour emoji font for the sample's emoji.
  qml6-module-qtquick-controls qml6-module-qtquick-layouts fonts-noto-color-emoji
  # The API reference (cmake --build <dir> --target docs).
  doxygen
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
