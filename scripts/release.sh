#!/usr/bin/env bash
# Makes every release artefact from the committed tree (a clean copy of HEAD in build-release/:
# nothing uncommitted or ignored gets in) into dist/:
#   plinkwell-<version>-windows-x86_64.zip   the Windows game (scripts/windows.sh)
#   plinkwell-<version>-linux-x86_64.tar.gz  the Linux game, with a Makefile honouring PREFIX and DESTDIR
#   plinkwell_<version>_amd64.deb            the Debian package (dpkg-buildpackage, debian/), lintian-clean
#   plinkwell-<version>-web.zip              the web site (scripts/web.sh)
#   SHA256SUMS
# The version is CMakeLists.txt's project(VERSION). Run as root, it installs what it needs. An SDL
# for Windows already built in build-windows/sdl2 is reused.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/deps.sh debhelper dpkg-dev lintian appstream zip
version=$(sed -n 's/^project(plinkwell VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
released=$(sed -n 's/^set(PLINKWELL_RELEASE_DATE \(.*\))$/\1/p' CMakeLists.txt)
work=$root/build-release
src=$work/src
jobs=$(nproc)
[ -z "$(git status --porcelain)" ] || echo "release.sh: uncommitted changes are left out of the release" >&2
rm -rf "$work" && mkdir -p "$src" dist
git archive HEAD | tar -x -C "$src"
rm -f dist/plinkwell[-_]* dist/SHA256SUMS

echo "== Linux"
# libstdc++ and libgcc linked in: the tarball needs only glibc 2.36+ and SDL 2 on the machine.
cmake -S "$src" -B "$work/linux" -DCMAKE_BUILD_TYPE=Release -DPLINKWELL_TESTS=OFF \
  -DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc" >/dev/null
cmake --build "$work/linux" -j"$jobs"
linux=plinkwell-$version-linux-x86_64
cmake --install "$work/linux" --prefix "$work/$linux" --strip >/dev/null
cp "$src/dist/linux/Makefile" "$src/dist/linux/README.txt" "$work/$linux/"
cp "$src/LICENSE" "$work/$linux/LICENSE.txt"
appstreamcli validate --no-net "$work/$linux/share/metainfo/net.plinkwell.Plinkwell.metainfo.xml"
tar -C "$work" --sort=name --owner=0 --group=0 --numeric-owner -czf "dist/$linux.tar.gz" "$linux"

echo "== Windows"
if [ -f build-windows/sdl2/lib/cmake/SDL2/SDL2Config.cmake ]; then
  mkdir -p "$src/build-windows" && cp -a build-windows/sdl2 "$src/build-windows/"
fi
PLINKWELL_NATIVE_BUILD="$work/linux" "$src/scripts/windows.sh"
cp "$src/build-windows/plinkwell-$version-windows-x86_64.zip" dist/

echo "== Debian"
cat >"$src/debian/changelog" <<EOF
plinkwell ($version) unstable; urgency=medium

  * Release $version.

 -- Plinkwell developers <plinkwell@example.org>  $(date -R -u -d "$released 12:00")
EOF
(cd "$src" && DEB_BUILD_OPTIONS="parallel=$jobs" dpkg-buildpackage -us -uc -b >"$work/dpkg-buildpackage.log" 2>&1) ||
  { tail -30 "$work/dpkg-buildpackage.log"; exit 1; }
lintian --fail-on error,warning \
  "$work/plinkwell_${version}_amd64.deb"
cp "$work/plinkwell_${version}_amd64.deb" dist/

echo "== Web"
(cd "$src" && PLINKWELL_WEB_DATA="$work/linux/data" scripts/web.sh)
web=plinkwell-$version-web
mkdir "$work/$web"
cp -R "$src"/build-web/* "$work/$web/"  # the site's files, not its hidden build folders
(cd "$work" && zip -qrX "$root/dist/$web.zip" "$web")

(cd dist && sha256sum plinkwell[-_]* >SHA256SUMS)
echo "release.sh: dist/"
cat dist/SHA256SUMS
