#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package (build-package/pixtint_<version>-1_<arch>.deb) and checks that it
# holds every installed file and depends on what the program needs at run time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev file

build=build-package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DPIXTINT_BUILD_TESTS=OFF -DPIXTINT_BUILD_BENCH=OFF
cmake --build "$build" -j2
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/pixtint_${version}.0-1_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "package.sh: $deb was not built" >&2; exit 1; }

id=io.github.pixtint.Pixtint
problems=()
contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in \
    ./usr/bin/pixtint \
    ./usr/bin/pixtint-convert \
    ./usr/share/man/man1/pixtint.1.gz \
    ./usr/share/man/man1/pixtint-convert.1.gz \
    ./usr/share/doc/pixtint/copyright \
    ./usr/share/applications/$id.desktop \
    ./usr/share/metainfo/$id.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/$id.svg \
    ./usr/share/doc/pixtint/Readme.txt; do
    grep -qxF "$path" <<<"$contents" || problems+=("missing $path")
done

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6 libstdc++6 libc6 \
    'fonts-ipafont-gothic | fonts-noto-cjk' qt6-translations-l10n; do
    grep -qF "$needed" <<<"$depends" || problems+=("Depends lacks $needed")
done

maintainer=$(dpkg-deb -f "$deb" Maintainer)
address='<[^<>@ ]+@[^<>@ ]+>$'
[[ "$maintainer" =~ $address ]] || problems+=("Maintainer '$maintainer' has no address")
desktop=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/applications/$id.desktop)
! grep -q '^MimeType=' <<<"$desktop" || problems+=("the desktop entry claims file types")

if [ ${#problems[@]} -ne 0 ]; then
    printf 'package.sh: %s\n' "${problems[@]}" >&2
    exit 1
fi
echo "Built $deb"
echo "Depends: $depends"
echo "Maintainer: $maintainer"
