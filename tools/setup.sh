#!/usr/bin/env bash
# Installs the Debian packages that building and playing the game need, if any is missing.
# As root it runs apt-get itself; otherwise it prints the command to run and stops. The tests'
# own tools come from setup-dev.sh, the page's from setup-web.sh.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev           # window, presentation, keyboard, joystick, audio device
  libmpg123-dev         # decodes the game's MP3 clips
  libmp3lame-dev        # encodes our own sounds when the archive is built
  libcurl4-openssl-dev nlohmann-json3-dev   # sends finished runs to a board
)

exec "$(dirname "$0")/install-packages.sh" setup "${packages[@]}"
