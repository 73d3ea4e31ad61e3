#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need, if any is missing.
# As root it runs apt-get itself; otherwise it prints the command to run and stops.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl2-dev           # window, presentation, keyboard, joystick, audio device
  libmpg123-dev         # decodes the game's MP3 clips
  libmp3lame-dev        # encodes our own sounds when the archive is built
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev   # libFuzzer targets and the sanitizer build
  xvfb openbox xdotool x11-utils x11-apps imagemagick   # end-to-end tests in a real window
  valgrind
  dpkg-dev lintian desktop-file-utils appstream   # `make package` and the checks of what it installs
)

exec "$(dirname "$0")/install-packages.sh" setup "${packages[@]}"
