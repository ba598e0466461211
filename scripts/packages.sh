# Debian packages vilora needs, and the check that installs the missing ones.
# Sourced by scripts/demo, scripts/test and scripts/package.

VILORA_DEMO_PACKAGES="cmake g++ make pkg-config libsdl2-dev libxmp-dev libfreetype-dev
    libfontconfig-dev fonts-dejavu-core zlib1g-dev libpng-dev libsndfile1-dev nlohmann-json3-dev libcli11-dev
    libavformat-dev libavcodec-dev libavutil-dev libswresample-dev libswscale-dev"

VILORA_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev libpixman-1-dev imagemagick
    lib3ds-dev libassimp-dev libopenmpt-dev xvfb x11-apps x11-utils openbox xdotool clang
    libclang-rt-14-dev libfuzzer-14-dev libstdc++-12-dev-arm64-cross groff-base"

# scripts/package: the Debian package and its check.
VILORA_PACKAGE_PACKAGES="debhelper dpkg-dev lintian"

# scripts/web: the WebAssembly build (emscripten; apt-get source with dpkg-dev
# and xz-utils; node for the glue and the notices; python3 serves the site).
VILORA_WEB_PACKAGES="emscripten nodejs dpkg-dev xz-utils python3"

# The web tests: the page in a real Chromium, driven by puppeteer-core from npm.
# npm comes with some builds of node; the Debian package is wanted only where
# the command is missing.
VILORA_WEB_TEST_PACKAGES="chromium"
command -v npm >/dev/null 2>&1 || VILORA_WEB_TEST_PACKAGES="$VILORA_WEB_TEST_PACKAGES npm"

# scripts/measure/playback: the show on a private X server with a window manager.
VILORA_MEASURE_PACKAGES="python3 xvfb openbox gcc"

# vilora_require_packages PKG...: installs what is missing when run as root,
# otherwise prints the install line and fails.
vilora_require_packages() {
    missing=""
    for pkg in "$@"; do
        # dpkg-query fails for a package it has never seen; under the callers'
        # set -e that must not end the run: it is simply missing.
        status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null) || status=""
        case "$status" in
            *"install ok installed"*) ;;
            *) missing="$missing $pkg" ;;
        esac
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "vilora needs these Debian packages:$missing" >&2
        echo "install them as root, then run this again:" >&2
        echo "    apt-get install -y$missing" >&2
        return 1
    fi
    echo "installing:$missing" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >&2 || return 1
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends $missing >&2
}
