#!/bin/sh
# scripts/demo and scripts/test as on a fresh machine, where the Debian
# packages they need are not installed yet. Stand-ins on PATH play the
# machine: a dpkg-query that knows some packages as not installed, an apt-get
# that records what it is asked to do, an id that says who runs, and a cmake
# that stops the run where the build would begin.
#
#   fresh_machine_test.sh REPOSITORY
#
# A copy of the repository's scripts runs in a scratch tree, so the stand-ins
# can never reach a real build folder.
set -u
repository=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
runs=0

tree=$work/tree
mkdir -p "$tree/scripts" "$tree/library" "$work/bin"
cp "$repository/scripts/demo" "$repository/scripts/test" "$repository/scripts/packages.sh" \
    "$repository/scripts/include_graph" "$tree/scripts/"
: >"$tree/library/archive.h" # a source tree for the include check to pass on

# dpkg-query -W -f=FORMAT PACKAGE: packages in $FRESH_MISSING are unknown, as
# dpkg-query says of a package never installed (exit 1); any other is installed.
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
for package; do :; done
case " $FRESH_MISSING " in
*" $package "*)
    echo "dpkg-query: no packages found matching $package" >&2
    exit 1
    ;;
esac
printf 'install ok installed'
EOF
# apt-get: one line per call; exit 100 when $FRESH_APT_FAILS is set, as apt-get
# does when a package cannot be had.
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/sh
echo "$*" >>"$FRESH_LOG/apt-get"
[ -z "${FRESH_APT_FAILS:-}" ] || exit 100
EOF
cat >"$work/bin/id" <<'EOF'
#!/bin/sh
echo "$FRESH_UID"
EOF
# cmake: the run got past the install step; exit 93 ends it there.
cat >"$work/bin/cmake" <<'EOF'
#!/bin/sh
echo "$*" >>"$FRESH_LOG/cmake"
exit 93
EOF
chmod +x "$work/bin/"*

fail() {
    echo "FAILED: $case_name: $1" >&2
    sed 's/^/    stderr: /' "$log/stderr" >&2
    failures=$((failures + 1))
}

# run SCRIPT UID MISSING [APT_FAILS]: one run on a machine where the packages
# MISSING are not installed; leaves its status in $status and its logs in $log.
run() {
    case_name="$1 as uid $2, missing '$3'${4:+, apt-get failing}"
    runs=$((runs + 1))
    log=$work/log-$runs
    mkdir -p "$log"
    : >"$log/apt-get"
    : >"$log/cmake"
    PATH="$work/bin:$PATH" FRESH_UID=$2 FRESH_MISSING=$3 FRESH_APT_FAILS=${4:-} FRESH_LOG=$log \
        sh "$tree/scripts/$1" >"$log/stdout" 2>"$log/stderr"
    status=$?
}

# The run ended at the stand-in cmake: past the install step.
expect_reached_build() {
    [ "$status" = 93 ] || fail "expected to reach the build (status 93), got status $status"
}

# The run stopped before the build, non-zero, naming each package in PACKAGES.
expect_stopped_naming() {
    [ "$status" != 0 ] && [ "$status" != 93 ] ||
        fail "expected a failure before the build, got status $status"
    [ -s "$log/cmake" ] && fail "the build ran after the install step failed"
    for package in $1; do
        grep -q "$package" "$log/stderr" || fail "the message does not name $package"
    done
}

for script in demo test; do
    # A machine with everything: nothing to install, straight to the build.
    for uid in 1000 0; do
        run "$script" "$uid" ""
        expect_reached_build
        [ -s "$log/apt-get" ] && fail "apt-get ran though nothing was missing"
    done

    # Not root: the install line to run, and no attempt to install.
    missing="libsdl2-dev"
    [ "$script" = test ] && missing="libsdl2-dev libgtest-dev"
    run "$script" 1000 "$missing"
    expect_stopped_naming "$missing"
    grep -q "install them as root" "$log/stderr" || fail "no 'install them as root' message"
    grep -q "apt-get install -y $missing\$" "$log/stderr" ||
        fail "no 'apt-get install -y $missing' line to run"
    [ -s "$log/apt-get" ] && fail "apt-get ran as a user who is not root"

    # Root: the package list brought up to date, the missing packages and only
    # those installed, then the build.
    run "$script" 0 "$missing"
    expect_reached_build
    grep -qx "update -q" "$log/apt-get" || fail "no 'apt-get update' before installing"
    grep -qx "install -y -q --no-install-recommends $missing" "$log/apt-get" ||
        fail "apt-get was not asked for exactly '$missing': $(tr '\n' '|' <"$log/apt-get")"
    grep -q "$missing" "$log/stderr" || fail "the packages being installed are not named"

    # Root, but apt-get cannot install them: the run stops there, non-zero.
    run "$script" 0 "$missing" fails
    expect_stopped_naming "$missing"
done

[ "$failures" = 0 ] || exit 1
echo "fresh machine: demo and test install or name what is missing"
