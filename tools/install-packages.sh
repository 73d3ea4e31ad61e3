#!/usr/bin/env bash
# Installs those of the named Debian packages that are missing. As root it runs apt-get itself;
# otherwise it prints the command to run and fails. The first argument names the caller in
# what it says.
# Usage: install-packages.sh <caller> <package>...
set -euo pipefail

caller=$1
shift
missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  # apt's own lines show the progress: the first time, a few minutes of downloads.
  echo "$caller: installing ${missing[*]} and what they need"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -q --no-install-recommends "${missing[@]}" |
    { grep --line-buffered -E '^(Need to get|Get:)' || true; }
else
  echo "$caller: missing Debian packages. Run:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
