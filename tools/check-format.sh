#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what clang-format (with the repository's
# .clang-format) makes of it, and names each such file. Usage: tools/check-format.sh [FILE...]
# (default: every .h and .cpp file git knows of, or, outside a git checkout, every one
# below the source folders). Fix with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
if [ $# -gt 0 ]; then
  files=("$@")
elif git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.h' '*.cpp')
else
  mapfile -t files < <(find . -path './build*' -prune -o -path ./tests/data -prune -o \
                         \( -name '*.h' -o -name '*.cpp' \) -print | sort)
fi
bad=0
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! "$CLANG_FORMAT" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done
if [ $bad -ne 0 ]; then
  echo "Run clang-format -i on the files above (.clang-format at the top of the tree)." >&2
fi
exit $bad
