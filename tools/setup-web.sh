#!/usr/bin/env bash
# Installs what the web page needs beyond the desktop build, if any is missing: Debian's
# emscripten (with node-acorn, which its optimiser needs) to build it, Chromium to test it,
# and the npm packages in web/ (the page's MP3 decoder, the tests' DevTools client). Kept
# apart from setup.sh so a desktop build does not pull in a compiler and a browser; `make web`
# and the web tests run it. As root it runs apt-get itself; otherwise it prints the command.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten node-acorn nodejs npm chromium python3)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# A newer Node.js from elsewhere brings its own npm in place of Debian's.
if [ ${#missing[@]} -gt 0 ] && command -v node >/dev/null && command -v npm >/dev/null; then
  remaining=()
  for p in "${missing[@]}"; do
    [ "$p" = nodejs ] || [ "$p" = npm ] || remaining+=("$p")
  done
  missing=("${remaining[@]+"${remaining[@]}"}")
fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "setup-web: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "setup-web: missing Debian packages. Run:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi

# The versions package-lock.json names, exactly.
if [ ! -d web/node_modules/mpg123-decoder ] || [ ! -d web/node_modules/chrome-remote-interface ] ||
   [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi
