#!/usr/bin/env bash
# Installs what building the Windows program and its packages needs (`make windows`, `make
# windows-package`), if any is missing: the mingw-w64 cross-compiler with POSIX threads, its
# tools (windres), NSIS for the installer, zip, and the header-only JSON library the board's
# answers are read with. As root it runs apt-get itself; otherwise it prints the command to
# run and stops.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools   # the cross-compiler, static C++ run time
  nsis zip                                     # the installer and the zip
  nlohmann-json3-dev                           # the board's JSON, header-only, cross-built too
)

exec "$(dirname "$0")/install-packages.sh" setup-windows "${packages[@]}"
