# Sourced by the tests that open the page in Chromium: skips the test (77), in one line naming
# it, when Chromium, the built page in $2 or the DevTools client is missing.
#   source needs_page.sh <test's name> <page folder>
needs_page() {
    local name=$1 page=$2
    command -v chromium >/dev/null || { echo "$name: chromium is not installed (tools/setup-web.sh)"; exit 77; }
    [ -s "$page/korimo.wasm" ] || { echo "$name: no page in $page (make web)"; exit 77; }
    [ -d "$(dirname "${BASH_SOURCE[0]}")/../../web/node_modules/chrome-remote-interface" ] ||
        { echo "$name: the DevTools client is not installed (tools/setup-web.sh)"; exit 77; }
}
needs_page "$@"
