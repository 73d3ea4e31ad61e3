#!/usr/bin/env bash
# Installs what building the Windows program and its packages needs (`make windows`, `make
# windows-package`), if any is missing: the mingw-w64 cross-compiler with POSIX threads, its
# tools (windres), NSIS for the installer and zip. As root it runs apt-get itself; otherwise it
# prints the command to run and stops.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools   # the cross-compiler, static C++ run time
  nsis zip                                     # the installer and the zip
)

exec "$(dirname "$0")/install-packages.sh" setup-windows "${packages[@]}"
