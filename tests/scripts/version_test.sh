#!/bin/sh
# --version of each program: "NAME VERSION", and in a git work tree the commit
# it was built from, which is the checked-out one after a build.
#
#   version_test.sh SOURCE_DIR VERSION PROGRAM...
set -u
source_dir=$1
version=$2
shift 2
commit=$(git -C "$source_dir" rev-parse --short=12 HEAD 2>/dev/null) || commit=""
failures=0
for program; do
    said=$("$program" --version) || {
        echo "FAILED: $program --version failed" >&2
        failures=$((failures + 1))
        continue
    }
    expected="$(basename "$program") $version"
    [ -n "$commit" ] && expected="$expected (commit $commit"
    case "$said" in
    "$expected"*) ;;
    *)
        echo "FAILED: $program --version says '$said', expected '$expected...'" >&2
        failures=$((failures + 1))
        ;;
    esac
done
[ "$failures" = 0 ]
