#!/usr/bin/env bash
# Builds a release and packs it into OUT (default build/packages):
#   log2plt-VERSION-windows-x64.zip   the Windows programs, their skins, guide and notices
#   log2plt_VERSION_amd64.deb          the Linux programs for Debian
#   log2plt-VERSION-source.tar.gz      the committed sources (git archive)
#   SHA256SUMS                         over the three
# The same commit gives the same bytes wherever it is built: every time stamp is the last
# commit's (SOURCE_DATE_EPOCH), the builds keep no folder names, and what CPack leaves in the zip
# that differs from run to run is normalised by strip-nondeterminism.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${1:-$root/build/packages}
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export TZ=UTC LC_ALL=C
umask 022

# The version counts the commits since its tag; while there is none, since the first commit,
# which the tag then marks, so that a source archive (which has no history) can count them too.
project_version=$(sed -n 's/^project(log2plt VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if ! git rev-parse -q --verify "refs/tags/v$project_version" >/dev/null; then
  git tag "v$project_version" "$(git rev-list --max-parents=0 HEAD | tail -n 1)"
fi

for preset in package-linux package-windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
version=$(cat build/package-linux/version.txt)
(cd build/package-linux && cpack -G DEB >/dev/null)
(cd build/package-windows && cpack -G ZIP >/dev/null)

rm -rf "$out"
mkdir -p "$out"
zip=log2plt-$version-windows-x64.zip
deb=log2plt_${version}_amd64.deb
source=log2plt-$version-source.tar.gz
cp "build/package-windows/cpack/$zip" "build/package-linux/cpack/$deb" "$out/"
strip-nondeterminism -T "$SOURCE_DATE_EPOCH" "$out/$zip"
git archive --format=tar.gz --prefix="log2plt-$version/" -o "$out/$source" HEAD
(cd "$out" && sha256sum "$zip" "$deb" "$source" >SHA256SUMS)
ls -l "$out"
