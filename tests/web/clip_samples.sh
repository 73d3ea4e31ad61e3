#!/bin/bash
# The desktop's decoding of every clip (clip_dump) against the page's (clip_samples.js).
# Usage: clip_samples.sh <clip_dump> <archive base name>. Skipped (77) without Node.js or the
# page's decoder (tools/setup-web.sh installs both).
set -u
here=$(cd "$(dirname "$0")" && pwd)
command -v node >/dev/null || { echo "clip_samples: node is not installed"; exit 77; }
[ -d "$here/../../web/node_modules/mpg123-decoder" ] ||
    { echo "clip_samples: the page's decoder is not installed (tools/setup-web.sh)"; exit 77; }
work=$(mktemp -d /tmp/korimo-clips.XXXXXX)
trap 'rm -rf "$work"' EXIT
"$1" "$2" "$work" || exit 1
node "$here/clip_samples.js" "$work"
