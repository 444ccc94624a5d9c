# Sourced by the scripts: installs the Debian packages a step needs, skipping those present.
# Needs root (or sudo) only when something is missing.

ORVANE_BUILD_PACKAGES="cmake g++ make pkg-config libsdl1.2-dev libsdl-image1.2-dev \
libsdl-mixer1.2-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri"
ORVANE_HEADLESS_PACKAGES="xvfb xauth xdotool imagemagick"
ORVANE_TEST_PACKAGES="libgtest-dev zlib1g-dev"
# The browser build (scripts/web.sh) and its tests: emscripten, and Chromium driven by Selenium.
ORVANE_WEB_PACKAGES="cmake make emscripten chromium chromium-driver python3-selenium"
# The Windows build (scripts/windows.sh): the cross compiler, wine to run what it builds, and
# what builds SDL and friends from Debian's source packages and packs the zip, and GoogleTest's
# sources for the test programs.
ORVANE_WINDOWS_PACKAGES="cmake make g++-mingw-w64-x86-64 wine wine64 dpkg-dev zip xvfb xauth \
xdotool imagemagick googletest"

orvane_install_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}
