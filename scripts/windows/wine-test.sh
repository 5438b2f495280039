#!/usr/bin/env bash
# ctest's emulator for the Windows test executables (the toolchain file names
# it): runs one under Wine. Under Wine a Qt test suite's logger writes nothing
# into a pipe, so a suite (tst_*) writes its log into a file that is printed
# when it ends; the exit code is the program's.
set -uo pipefail
exe="$1"
shift
case "$(basename "$exe")" in
    tst_*)
        log="$(mktemp "${TMPDIR:-/tmp}/purgatex-wine-test.XXXXXX")"
        wine "$exe" "$@" -o "$log,txt"
        status=$?
        tr -d '\r' < "$log"
        rm -f "$log"
        exit "$status"
        ;;
    *)
        exec wine "$exe" "$@"
        ;;
esac
