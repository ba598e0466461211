#!/bin/sh
# scripts/include_graph on small made-up trees: it lists the folder graph,
# passes includes that run down the floors and fails on each kind of include
# that runs against them.
#   include_graph_test.sh PATH/TO/include_graph
set -u
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# write FILE INCLUDED...: a source file that includes the given headers.
write() {
    file=$work/$1
    shift
    mkdir -p "$(dirname "$file")"
    : >"$file"
    for header in "$@"; do printf '#include "%s"\n' "$header" >>"$file"; done
}

# expect pass|fail WHAT: runs the script on the tree as it is now.
expect() {
    if "$script" "$work" >"$work.out" 2>"$work.err"; then got=pass; else got=fail; fi
    if [ "$got" != "$1" ]; then
        echo "FAILED: $2: expected $1, got $got" >&2
        cat "$work.out" "$work.err" >&2
        failures=$((failures + 1))
    fi
}

write library/archive.h
write platform/display/surface.h
write platform/display/internal/memory.h
write platform/display/surface.cpp platform/display/internal/memory.h platform/display/surface.h
write engine/engine.h platform/display/surface.h library/archive.h
write scene3d/scene.h
write pictures/internal/spans.h
write pictures/list.cpp pictures/internal/spans.h engine/engine.h library/archive.h
write parts/part.cpp pictures/list.h scene3d/scene.h engine/engine.h
write driver/main.cpp parts/part.h engine/engine.h
write kit/tool.cpp pictures/list.h engine/engine.h
write tests/part_test.cpp driver/show.h pictures/internal/spans.h
write bench/bench.cpp pictures/internal/spans.h
expect pass "includes down the floors"
grep -q '^parts -> pictures  *1$' "$work.out" || {
    echo "FAILED: the listing lacks 'parts -> pictures 1'" >&2
    failures=$((failures + 1))
}
grep -q '^pictures -> pictures' "$work.out" && {
    echo "FAILED: the listing shows a folder's includes of itself" >&2
    failures=$((failures + 1))
}

# Each of these breaks the floors; the broken file goes again after each.
for bad in "library/archive.cpp engine/engine.h" \
    "platform/display/surface.cpp library/archive.h" \
    "engine/engine.cpp pictures/list.h" \
    "pictures/list.cpp raster/raster.h" \
    "scene3d/scene.cpp parts/part.h" \
    "parts/part.cpp driver/show.h" \
    "kit/tool.cpp driver/show.h" \
    "parts/part.cpp pictures/internal/spans.h" \
    "kit/tool.cpp platform/display/internal/memory.h" \
    "engine/engine.cpp kit/tool.h"; do
    # shellcheck disable=SC2086
    set -- $bad
    write "$@"
    expect fail "$1 including $2"
    grep -q "^$1:1: includes \"$2\"" "$work.err" || {
        echo "FAILED: no report names $1 including $2" >&2
        failures=$((failures + 1))
    }
    rm "$work/$1"
done
expect pass "the tree without the broken files"

[ "$failures" -eq 0 ] || exit 1
echo "include_graph: all cases behave"
