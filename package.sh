#!/usr/bin/env bash
# Builds the packages of the last commit as distributions build them, and
# prints their checksums (installing what is missing):
#   ./package.sh [folder, ./build-packages by default]
# The Debian package comes from debian/ (dpkg-buildpackage), the source and
# binary RPM packages from packaging/tropinets.spec (rpmbuild -ba), each in a
# clean copy of the committed source. Times come from the last commit
# (SOURCE_DATE_EPOCH), so the same commit always gives the same bytes.
# Install the .deb with: sudo apt-get install ./build-packages/<file>.deb
set -euo pipefail
# debhelper builds the .deb, rpm the RPM packages, git the source tarball.
extra_packages=(dpkg-dev debhelper rpm git)
setup_builds=no
folder=$(realpath -m "${1:-$(dirname "${BASH_SOURCE[0]}")/build-packages}")
# What set-up installs goes to standard error: standard output is the
# checksums alone, which the package test compares between two builds.
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" >&2

# The changelogs' and the AppStream releases' newest entries name the version
# being packaged; a package whose changelog lags behind is refused by lintian.
version=$(sed -n 's/^project(tropinets VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
newest() { grep -m1 -E "$2" "$1" || true; }
for check in "debian/changelog|^tropinets |^tropinets \($version\) " \
             "packaging/tropinets.spec|^Version: |^Version: +$version\$" \
             "packaging/tropinets.spec|^\* |^\* .* - $version-1\$" \
             "packaging/tropinets.metainfo.xml|<release |<release version=\"$version\""; do
    IFS='|' read -r file entry wanted <<<"$check"
    if ! newest "$file" "$entry" | grep -qE "$wanted"; then
        echo "$file says \"$(newest "$file" "$entry")\", not the version $version" >&2
        exit 1
    fi
done
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "package.sh: uncommitted changes are not packaged; the packages are of $(git log -1 --format=%h)" >&2
fi

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
rm -rf "$folder"
mkdir -p "$folder/deb" "$folder/rpm"
tarball="$folder/rpm/tropinets-$version.tar.gz"
git archive --format=tar.gz --prefix="tropinets-$version/" -o "$tarball" HEAD

# dpkg-buildpackage writes the packages beside the source folder.
tar -xzf "$tarball" -C "$folder/deb"
(cd "$folder/deb/tropinets-$version" && dpkg-buildpackage -us -uc -b) >"$folder/deb.log" 2>&1 || {
    tail -40 "$folder/deb.log"
    exit 1
}

# rpmbuild with Debian's own hardening flags, as the .deb has them. RPM knows
# none of Debian's packages, so it cannot check the build requirements. The
# flags are kept in the RPM's header, so they must not name this folder; the
# spec keeps the build folder's path out of the program itself.
buildflags() {
    DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" dpkg-buildflags --get "$1"
}
# The source RPM keeps the spec expanded with the paths it was built in, so
# the RPMs are always built in one folder, one package.sh at a time.
exec 9<package.sh
flock 9
rpmtop=/var/tmp/tropinets-rpmbuild
rm -rf "$rpmtop"
mkdir -p "$rpmtop"
cp "$tarball" "$rpmtop/"
rpmbuild -ba --nodeps --define "_topdir $rpmtop" --define "_sourcedir $rpmtop" \
    --define "optflags $(buildflags CPPFLAGS) $(buildflags CXXFLAGS)" \
    --define "build_ldflags $(buildflags LDFLAGS)" \
    packaging/tropinets.spec >"$folder/rpm.log" 2>&1 || {
    tail -40 "$folder/rpm.log"
    exit 1
}
mv "$rpmtop/RPMS" "$rpmtop/SRPMS" "$folder/rpm/"
rm -rf "$rpmtop"

cd "$folder"
sha256sum deb/tropinets_"$version"_*.deb rpm/SRPMS/tropinets-"$version"-*.src.rpm \
    rpm/RPMS/*/tropinets-"$version"-*.rpm
