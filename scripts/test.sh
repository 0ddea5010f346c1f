#!/usr/bin/env bash
# Installs what is missing, builds QuoteShow and runs every test: unit and
# widget tests, end-to-end tests on an X server, the sanitizer build, the
# bounded fuzzing run and the package check. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

for check in scripts/check-sanitizers.sh scripts/check-fuzz.sh scripts/check-package.sh; do
  if [[ -f "$check" ]]; then
    echo "== $check"
    bash "$check"
  fi
done

echo "== ctest"
status=0
ctest --test-dir build --output-on-failure -j2 >build/ctest.log 2>&1 || status=$?
grep -v -E '^[0-9]+% tests passed' build/ctest.log || true
grep -E '^[0-9]+% tests passed' build/ctest.log | tail -n 1
exit "$status"
