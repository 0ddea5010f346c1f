#!/usr/bin/env bash
# Builds the quote file fuzz target with clang (libFuzzer, ASan, UBSan) and
# fuzzes it for a bounded time, starting from the seeds in tests/fuzz/corpus.
# Any finding (crash, sanitizer report, broken invariant, leak) fails the run.
#   FUZZ_SECONDS  length of the run (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-60}"

# The fuzz folder is its own small project (quote library and Qt Core only),
# so the widget tests never have to build with clang.
CC=clang-14 CXX=clang++-14 cmake -S tests/fuzz -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quotes_fuzz -j2

# New inputs go to a scratch copy of the corpus, never into the repository.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp tests/fuzz/corpus/* "$work/corpus/"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1:allocator_may_return_null=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
status=0
"$build/quotes_fuzz" "$work/corpus" \
  -dict=tests/fuzz/quote_file.dict \
  -max_len=4096 -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
  >"$work/fuzz.log" 2>&1 || status=$?

grep -E '^(stat::|#[0-9]+[[:space:]]+DONE)' "$work/fuzz.log" || true
echo "corpus after the run: $(ls "$work/corpus" | wc -l) inputs"
if [[ $status -ne 0 ]] || ls "$work/artifacts"/* >/dev/null 2>&1; then
  tail -n 60 "$work/fuzz.log"
  mkdir -p "$build/findings"
  cp "$work/artifacts"/* "$build/findings/" 2>/dev/null || true
  echo "check-fuzz: FAILED (status $status); reproducers in $build/findings:" >&2
  ls -1 "$build/findings" >&2 || true
  echo "reproduce with: $build/quotes_fuzz $build/findings/<file>" >&2
  exit 1
fi
echo "check-fuzz: no findings in ${seconds}s"
