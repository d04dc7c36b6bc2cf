# Installs what building and running the device needs, on Debian 12.
# Sourced by ./test and ./run. The host compiler builds the desktop tools,
# clang with its fuzzer runtime the fuzz targets, and Chromium reads the
# exported page in the tests. The exporter draws with cairo (measuring the
# page font found by fontconfig among the DejaVu fonts), hashes with
# nettle and writes XML with libxml2 (found by pkg-config); Node.js and npm
# install and run the notes app's ENEX parser that reads the export back.

JOTLINGS_PACKAGES="cmake make python3 wine wine64 g++-mingw-w64-x86-64-posix mingw-w64-tools googletest xvfb xdotool imagemagick x11-utils pulseaudio pulseaudio-utils g++ clang libclang-rt-14-dev chromium libcairo2-dev libfontconfig-dev fonts-dejavu-core nettle-dev libxml2-dev pkg-config nodejs"

ensure_prerequisites() {
    local missing=() p
    for p in $JOTLINGS_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" = 0 ]; then
        echo "Installing: ${missing[*]}" >&2
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q >/dev/null
        apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
}
