#!/usr/bin/env bash
# Installs on a Debian 12 machine every package that building, testing, benchmarking and
# running the editor need. Does nothing when all of them are present.
set -euo pipefail

packages=(
    # compiler and build tools
    g++ make cmake ninja-build ccache pkg-config
    # Qt 6 (Core, Gui, Widgets, PrintSupport, Network, Test) and its platform plugins
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    # compressing the pictures of the PDF files the program writes
    zlib1g-dev
    # picture decoders
    libjpeg62-turbo-dev libgif-dev libwmf-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev
    # the design file type on the user's desktop: the default application and the MIME database
    xdg-utils shared-mime-info
    # the test that drives the program through the window system: a private X display and input
    xvfb xdotool x11-utils
    # the printing test: a private print server with a PDF printer, and PDF inspection
    cups printer-driver-cups-pdf poppler-utils
    # free faces that stand in for the common faces of stored designs: Liberation for Arial,
    # Times New Roman and Courier New, Carlito for Calibri, Caladea for Cambria, the URW base
    # faces for Helvetica, Palatino, Bookman, Century Schoolbook, Avant Garde and the narrow and
    # chancery faces, Comic Neue for Comic Sans; DejaVu is the font system's default; Droid Sans
    # Fallback, a compact face, draws Chinese, Japanese and Korean texts instead of boxes
    fontconfig fonts-dejavu-core fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea
    fonts-urw-base35 fonts-comic-neue fonts-droid-fallback
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
