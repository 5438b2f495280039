#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz) with clang, libFuzzer, ASan and UBSan in
# ./build-fuzz and runs each for the given number of seconds.
#
#   bash scripts/fuzz.sh [SECONDS-PER-TARGET] [TARGET...]
#
# Targets: receive codec records outputrules (default: all, 60 s each). What a
# run learns is kept in build-fuzz/corpus/<target> and grows from run to run;
# an input that crashes a target is left in build-fuzz/artifacts/<target>/.
# Exits non-zero when any target found a crash, a leak, a time-out or ran out
# of memory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh

seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(receive codec records outputrules)
fi

BUILD_DIR="${PURGATEX_FUZZ_BUILD_DIR:-build-fuzz}"
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPURGATEX_FUZZ=ON
fuzzers=()
for t in "${targets[@]}"; do fuzzers+=("fuzz_$t"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" --target "${fuzzers[@]}"

src="$(pwd)/tests/fuzz"
export QT_QPA_PLATFORM=offscreen
# UBSan findings end the run like ASan's; Qt's own start-up leaks are not ours.
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan-qt.supp:print_suppressions=0"

failed=()
for t in "${targets[@]}"; do
    case "$t" in
        receive|codec) dict=protocol ;;
        records) dict=records ;;
        outputrules) dict=tools ;;
        *) echo "unknown target: $t" >&2; exit 2 ;;
    esac
    work="$BUILD_DIR/corpus/$t"
    artifacts="$BUILD_DIR/artifacts/$t"
    mkdir -p "$work" "$artifacts"
    echo "== fuzz_$t for ${seconds}s"
    if ! "$BUILD_DIR/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="$src/dict/$dict.dict" -artifact_prefix="$artifacts/" \
        "$work" "$src/corpus/$t" "$src/regressions/$t" 2>"$BUILD_DIR/fuzz_$t.log"; then
        failed+=("$t")
        tail -n 60 "$BUILD_DIR/fuzz_$t.log"
    fi
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)|^Done|^INFO: Seed:" "$BUILD_DIR/fuzz_$t.log" || true
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $BUILD_DIR/artifacts/)" >&2
    exit 1
fi
echo "fuzzing: ${#targets[@]} targets ran ${seconds}s each, nothing found"
