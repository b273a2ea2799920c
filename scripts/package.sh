#!/usr/bin/env bash
# Builds the Debian package norda_<version>_amd64.deb from a Release build and checks it: lintian,
# the desktop entry, the AppStream metadata, and the packaged program started from the package.
# Usage: package.sh [BUILD_DIR] (default build-release; a second run rebuilds only what changed)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$here/build-release}
bash "$here/scripts/setup.sh"

# Debian's hardening flags (stack protector, fortified functions, full RELRO); no debug
# information, which the package would strip anyway.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS | sed 's/-Wdate-time//') $(dpkg-buildflags --get CXXFLAGS)"
cxxflags=$(echo "$cxxflags" | tr ' ' '\n' | grep -v -e '^-g$' -e '^-ffile-prefix-map=' | tr '\n' ' ')
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
# cpack would build everything first (tests, benchmarks): the install rules need only the
# package's contents, built below.
cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
      -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
# Only what the package holds and its test: the other tests and the benchmarks are the test
# builds' business.
cmake --build "$dir" --parallel "$(nproc)" --target norda_package_contents package_tst_package

cd "$dir"
rm -f norda_*.deb
cpack -G DEB > cpack.log || { cat cpack.log >&2; exit 1; }
deb=$(ls norda_*_amd64.deb)
echo "package: $dir/$deb ($(du -k "$deb" | cut -f1) KiB)"

# The checks read the files as installed, from the package itself.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/norda.desktop
appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.metainfo.xml
# No error may pass; warnings are either mended or overridden, with the reason, in the package.
lintian --fail-on error,warning --display-info "$deb"
ctest -R '^package_' --output-on-failure --timeout 600
