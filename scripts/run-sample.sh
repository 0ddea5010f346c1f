#!/usr/bin/env bash
# Installs what is missing, builds QuoteShow and shows a quote from the
# bundled sample file, read under its default name from the current directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
cd examples
exec ../build/quoteshow
