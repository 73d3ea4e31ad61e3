#!/usr/bin/env bash
# clang-format on the C++ files a change touches: those that differ from BASE (a commit), in
# commits or in the work tree; every file when BASE is not given or not known here (a clean
# checkout in CI, say). With --check it changes nothing and fails, naming each file that is
# not formatted as .clang-format says.
# Usage: format.sh [--check] [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."

check=
if [ "${1:-}" = --check ]; then check=1; shift; fi
base=${1:-}

cpp='\.(cpp|h)$'
if [ -n "$base" ] && git rev-parse -q --verify "$base^{commit}" >/dev/null; then
  mapfile -t files < <({ git diff --name-only --diff-filter=d "$base"; git ls-files --others --exclude-standard; } |
                       sort -u | grep -E "$cpp" || true)
else
  mapfile -t files < <(git ls-files | grep -E "$cpp")
fi
[ ${#files[@]} -gt 0 ] || exit 0

if [ -z "$check" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" 2>/dev/null || unformatted+=("$f")
done
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "format: not formatted as .clang-format says (make format FORMAT_BASE=... fixes it):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "format: ${#files[@]} files checked"
