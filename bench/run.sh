#!/usr/bin/env bash
# Times the directory listings against reference commands on the same trees,
# in the same run. Builds the native preset's bench program, creates its trees
# under a temporary directory (removed at the end), and prints one line per
# case: the median of several runs of ours and of the reference, and their
# ratio (ours / reference; below 1 is faster).
#
#   bench/run.sh [RUNS]        (default 5 runs per command)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}

cmake --preset default >/dev/null
cmake --build --preset default --target listing_bench >/dev/null
bench=$PWD/build/default/bench/listing_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/ausklink-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "building trees under $work ..."
"$bench" make-flat "$work/flat" 100000
"$bench" make-tree "$work/tree" 100000 2000
"$bench" make-dirs "$work/dirs" 20000
mkdir "$work/empty"

# Wall time of one command in milliseconds, its output discarded.
millis() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# case NAME -- OUR COMMAND -- REFERENCE COMMAND (both run "runs" times,
# alternating, after one warm-up run each).
measure() {
  local name=$1 ours=$2 reference=$3
  bash -c "$ours" >/dev/null
  bash -c "$reference" >/dev/null
  local a=() b=()
  for ((i = 0; i < runs; i++)); do
    a+=("$(millis bash -c "$ours")")
    b+=("$(millis bash -c "$reference")")
  done
  local ma mb
  ma=$(printf '%s\n' "${a[@]}" | median)
  mb=$(printf '%s\n' "${b[@]}" | median)
  awk -v n="$name" -v a="$ma" -v b="$mb" \
    'BEGIN { printf "%-34s ours %6d ms   reference %6d ms   ratio %.2f\n", n, a, b, (b > 0 ? a / b : 0) }'
}

measure "ListFiles 100000, SORT_BY_DATE" \
  "'$bench' list-by-date '$work/flat'" \
  "find '$work/flat' -maxdepth 1 -type f -printf '%T@ %s %p\n' | sort -n"
measure "ListTreeFiles 100000 in 2000 dirs" \
  "'$bench' tree-files '$work/tree'" \
  "find '$work/tree' -type f -printf '%s %T@ %p\n'"
measure "ListTreeDirectories 20000" \
  "'$bench' tree-directories '$work/dirs'" \
  "find '$work/dirs' -type d"
measure "CountFilesInTree 100000" \
  "'$bench' count-tree '$work/tree'" \
  "find '$work/tree' -type f | wc -l"

# Peak memory of the tree count: independent of the number of files.
peak() {
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1
}
full=$(peak "$bench" count-tree "$work/tree")
empty=$(peak "$bench" count-tree "$work/empty")
awk -v f="$full" -v e="$empty" \
  'BEGIN { printf "%-34s tree %6d KiB   empty dir %6d KiB   ratio %.2f\n", "CountFilesInTree peak memory", f, e, f / e }'
