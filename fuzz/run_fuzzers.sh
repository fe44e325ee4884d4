#!/bin/sh
# Builds the fuzz preset and runs every fuzz_* target for the given number of seconds
# each (default 600), one after another, each as a single libFuzzer process (one core). Findings (crash-*, leak-*, timeout-*,
# oom-*) land in build-fuzz/findings/<target>/. The checked-in seeds are read from
# fuzz/corpus/<name>/ (<name> is the target name without "fuzz_"); new inputs go to
# fuzz/corpus-run/<name>/ so the seeds stay small. Turn every finding into a regression
# test with its input kept beside the other test data.
#
#   fuzz/run_fuzzers.sh [SECONDS] [EXTRA LIBFUZZER FLAGS...]
set -eu

seconds=${1:-600}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

cd "$root"
cmake --preset fuzz >/dev/null
targets=$(ninja -C "$build" -t targets all | sed -n 's/^\(fuzz_[A-Za-z0-9_]*\): .*/\1/p' | sort -u)
if [ -z "$targets" ]; then
    echo "no fuzz_* targets found" >&2
    exit 1
fi
# shellcheck disable=SC2086
ninja -C "$build" -j2 $targets

status=0
for target in $targets; do
    exe=$(find "$build" -type f -name "$target" -perm -u+x | head -n 1)
    if [ -z "$exe" ]; then
        echo "$target: executable not found" >&2
        status=1
        continue
    fi
    name=${target#fuzz_}
    corpus="$root/fuzz/corpus/$name"
    work="$root/fuzz/corpus-run/$name"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$work" "$findings"
    echo "== $target for ${seconds}s (corpus $corpus)"
    if ! "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$findings/" "$@" \
        "$work" "$corpus"; then
        echo "$target: findings in $findings" >&2
        status=1
    fi
done
exit $status
