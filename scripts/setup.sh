#!/usr/bin/env bash
# Installs the Debian packages NORDA needs to build, run, test and package; only what is missing.
# With --desktop it also installs a PDF viewer and xdg-open, so that F1 opens the manual; with --ci
# the formatter and clang-tidy of the style and static checks (version 14: each release formats a
# little differently).
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
          qt6-l10n-tools qt6-translations-l10n qt6-svg-dev libgl-dev libsqlite3-dev
          fonts-liberation fonts-noto-cjk xvfb xauth xdotool openbox imagemagick poppler-utils
          iproute2 dpkg-dev file lintian appstream desktop-file-utils
          libavformat-dev libavcodec-dev libavutil-dev ffmpeg libssl-dev
          libgstrtspserver-1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base
          gstreamer1.0-plugins-good gstreamer1.0-plugins-bad)
# node and npm for the ONVIF cross-check, unless a node with npm is there (NodeSource's nodejs
# bundles npm and conflicts with Debian's npm package).
command -v npm > /dev/null || packages+=(nodejs npm)
for option in "$@"; do
    case $option in
    --desktop) packages+=(xdg-utils mupdf) ;;
    --ci) packages+=(clang-format-14 clang-tidy-14) ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
