#!/usr/bin/env bash
# Installs what the web page needs beyond the desktop build, if any is missing: Debian's
# emscripten (with node-acorn, which its optimiser needs) to build it, Chromium to test it,
# and the npm packages in web/ (the page's MP3 decoder, the tests' DevTools client). Kept
# apart from setup.sh so a desktop build does not pull in a compiler and a browser; `make web`
# and the web tests run it. As root it runs apt-get itself; otherwise it prints the command.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten node-acorn chromium python3)
# A newer Node.js from elsewhere brings its own npm in place of Debian's.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
tools/install-packages.sh setup-web "${packages[@]}"

# The versions package-lock.json names, exactly.
if [ ! -d web/node_modules/mpg123-decoder ] || [ ! -d web/node_modules/chrome-remote-interface ] ||
   [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi
