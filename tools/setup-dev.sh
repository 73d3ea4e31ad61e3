#!/usr/bin/env bash
# Installs what the tests, the benchmarks and the fuzz targets need beyond a player's build, if
# any is missing. As root it runs apt-get itself; otherwise it prints the command to run and
# stops.
set -euo pipefail

packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev         # the stand-in board the sending tests talk to
  clang libclang-rt-14-dev   # libFuzzer targets and the sanitizer build
  clang-format               # the code's formatting, checked on what a change touches
  xvfb openbox xdotool x11-utils x11-apps imagemagick curl python3   # end-to-end tests in a real window
  valgrind
  lintian desktop-file-utils appstream   # the checks of what `make package` installs
  git
  postgresql   # the board's tests: a throwaway PostgreSQL cluster
  g++-mingw-w64-x86-64-posix mingw-w64-tools nsis zip   # the Windows program and its packages
  googletest                                            # ... its unit tests, built from source
  wine64 wine                                           # ... run under Wine by the tests
)

# The board server's libraries first, so that the dev build builds it and its tests.
"$(dirname "$0")/setup-board.sh"
exec "$(dirname "$0")/install-packages.sh" setup-dev "${packages[@]}"
