#!/usr/bin/env bash
# Builds both packages and checks them: the phone's RPM from rpm/harbour-pellwick.spec (its SDK-only
# build dependencies are not enforced on this machine) must hold exactly the files the store allows; the
# desktop entry and the AppStream description must validate; the .deb made by CPack must name the QML
# modules the pages import, and the game unpacked from it must start, in English and in Hungarian,
# without a single warning.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/scripts/install-deps.sh" packaging

name=harbour-pellwick
spec="$top/rpm/$name.spec"
metainfo="$top/packaging/vexil.harbour.pellwick.metainfo.xml"
work="$top/build-packages"
SECONDS=0

fail() {
    echo "packaging check failed: $*" >&2
    exit 1
}

step() {
    echo "-- $* (${SECONDS} s)"
}

step "one version everywhere"
version=$(rpmspec -q --srpm --qf '%{VERSION}' "$spec")
cmake_version=$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
metainfo_version=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$version" = "$cmake_version" ] || fail "rpm/harbour-pellwick.spec says $version, CMakeLists.txt says $cmake_version"
[ "$version" = "$metainfo_version" ] ||
    fail "rpm/harbour-pellwick.spec says $version, the newest AppStream release $metainfo_version"

step "desktop entry and AppStream description"
desktop-file-validate "packaging/$name.desktop"
appstreamcli validate --no-net "$metainfo"
# The phone starts the game through its launcher type, and its sandbox opens only the configuration
# directory named by the organisation and application the game gives itself at start-up.
grep -qx "X-Nemo-Application-Type=silica-qt5" "packaging/$name.desktop" || fail "the desktop entry lacks its launcher type"
sandbox=$(sed -n '/^\[X-Sailjail\]/,/^\[/p' "packaging/$name.desktop")
for key in OrganizationName=vexil "ApplicationName=$name"; do
    grep -qx "$key" <<<"$sandbox" || fail "the desktop entry's sandbox section lacks $key"
done
if grep -E '^Permissions=.+' <<<"$sandbox"; then
    fail "the game asks for the sandbox permissions above, and needs none"
fi

step "the phone package: rpmbuild"
# A fixed place rather than a fresh temporary one, so that ccache finds the objects of the last run.
rm -rf "$work" && mkdir -p "$work/rpmbuild/SOURCES"
git ls-files --cached --others --exclude-standard -z |
    tar --null -T - --transform "s,^,$name-$version/," -cjf "$work/rpmbuild/SOURCES/$name-$version.tar.bz2"
if ! rpmbuild -bb --nodeps --noclean --define "_topdir $work/rpmbuild" --define "_smp_mflags -j2" \
    --define "debug_package %{nil}" "$spec" >"$work/rpmbuild.log" 2>&1; then
    tail -n 60 "$work/rpmbuild.log"
    fail "rpmbuild failed (the whole log is $work/rpmbuild.log)"
fi
rpm_file=$(find "$work/rpmbuild/RPMS" -name "$name-$version-*.rpm")
[ -n "$rpm_file" ] || fail "rpmbuild made no package"

step "the phone package: its files"
# Only the executable, the game's own data directory, the launcher entry and the four icons.
allowed="^/usr/bin/$name\$|^/usr/share/$name(/.*)?\$|^/usr/share/applications/$name\.desktop\$"
allowed+="|^/usr/share/icons/hicolor/(86x86|108x108|128x128|172x172)/apps/$name\.png\$"
rpm -qlp "$rpm_file" >"$work/rpm-files.txt"
if grep -Ev "$allowed" "$work/rpm-files.txt"; then
    fail "the RPM holds the files above, which the store does not allow"
fi
required=("/usr/bin/$name" "/usr/share/$name/qml/$name.qml" "/usr/share/$name/translations/$name-hu.qm"
    "/usr/share/$name/sounds/saved.wav" "/usr/share/applications/$name.desktop")
for size in 86 108 128 172; do
    required+=("/usr/share/icons/hicolor/${size}x${size}/apps/$name.png")
done
# The winning replays shown to a stuck player: every one the source tree holds.
solutions=(replays/solutions/level-*.txt)
for solution in "${solutions[@]}"; do
    required+=("/usr/share/$name/solutions/${solution##*/}")
done
for file in "${required[@]}"; do
    grep -qx "$file" "$work/rpm-files.txt" || fail "the RPM lacks $file"
done
# No bundled libraries: the executable is the one compiled file, and the package provides no library.
rpm -qp --qf '[%{FILENAMES}\t%{FILECLASS}\n]' "$rpm_file" | grep ELF | cut -f 1 >"$work/rpm-elf.txt"
[ "$(cat "$work/rpm-elf.txt")" = "/usr/bin/$name" ] ||
    fail "compiled files besides the executable: $(cat "$work/rpm-elf.txt")"
if rpm -qp --provides "$rpm_file" | grep -E '\.so'; then
    fail "the RPM provides the libraries above"
fi
mkdir -p "$work/rpm-root"
rpm2archive - <"$rpm_file" | tar -xz -C "$work/rpm-root"
desktop-file-validate "$work/rpm-root/usr/share/applications/$name.desktop"
for size in 86 108 128 172; do
    file "$work/rpm-root/usr/share/icons/hicolor/${size}x${size}/apps/$name.png" | grep -q "$size x $size" ||
        fail "the ${size}x${size} icon has another size"
done

step "the desktop package: CPack"
# The tree rpmbuild configured and compiled is reused, so the game is compiled once for both packages;
# only the AppStream description, which the phone package leaves out, is switched back on.
tree="$work/rpmbuild/BUILD/$name-$version/rpm-build"
cmake "$tree" -DPELLWICK_INSTALL_METAINFO=ON >/dev/null
cmake --build "$tree" -j2 >/dev/null
(cd "$work" && cpack --config "$tree/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1) ||
    { tail -n 40 "$work/cpack.log"; fail "cpack failed"; }
deb_file="$work/deb/${name}_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb_file" ] || fail "cpack made no $deb_file"
depends=$(dpkg-deb -f "$deb_file" Depends)
echo "Depends: $depends"
for library in libqt5core5a libqt5gui5 libqt5qml5 libqt5quick5; do
    grep -q "$library" <<<"$depends" || fail "the .deb does not depend on $library"
done
# Each QML module the pages import is loaded at run time, so its Debian package must be a dependency.
declare -A module_package=([QtQuick]=qml-module-qtquick2 [QtQuick.Window]=qml-module-qtquick-window2
    [QtQuick.Layouts]=qml-module-qtquick-layouts [QtMultimedia]=qml-module-qtmultimedia)
for module in $(grep -rhoE 'import\s+(QtQuick(\.Window|\.Layouts)?|QtMultimedia)\s' qml | awk '{print $2}' | sort -u); do
    grep -q "${module_package[$module]}" <<<"$depends" ||
        fail "the pages import $module, the .deb lacks ${module_package[$module]}"
done
dpkg-deb -c "$deb_file" | grep -q "usr/share/metainfo/vexil.harbour.pellwick.metainfo.xml" ||
    fail "the .deb lacks the AppStream description"
deb_solutions=$(dpkg-deb -c "$deb_file" | grep -c "usr/share/$name/solutions/level-.*\.txt\$" || true)
[ "$deb_solutions" -eq "${#solutions[@]}" ] ||
    fail "the .deb holds $deb_solutions of the ${#solutions[@]} stored solutions"

step "the desktop package: the unpacked game starts"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb_file" "$unpacked/root"
mkdir -m 700 "$unpacked/runtime"

# Starts the unpacked game with the given language, prints what its first page shows; any message on
# the error stream (a QML warning, a missing file) fails the check.
start_game() {
    local language=$1 config="$unpacked/config-$1"
    mkdir -p "$config/vexil/$name"
    printf '[ui]\nlanguage=%s\n' "$language" >"$config/vexil/$name/language.ini"
    if ! XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$unpacked/runtime" QT_QPA_PLATFORM=offscreen \
        QT_QUICK_BACKEND=software QT_FORCE_STDERR_LOGGING=1 PELLWICK_STARTUP_PROBE_MS=1500 \
        timeout 60 "$unpacked/root/usr/bin/$name" >"$unpacked/shown-$language.txt" \
        2>"$unpacked/errors-$language.txt"; then
        cat "$unpacked/errors-$language.txt"
        fail "the unpacked game did not start and quit cleanly in language $language"
    fi
    if [ -s "$unpacked/errors-$language.txt" ]; then
        cat "$unpacked/errors-$language.txt"
        fail "the unpacked game printed the messages above in language $language"
    fi
    [ -s "$unpacked/shown-$language.txt" ] || fail "the unpacked game showed no text in language $language"
}

# The Hungarian texts that differ from their English source, one a line, from the translation file.
hungarian_only_texts() {
    local ts="translations/$name-hu.ts"
    local unescape='s/&lt;/</g; s/&gt;/>/g; s/&quot;/"/g; s/&apos;/'"'"'/g; s/&amp;/\&/g'
    sed -n 's:.*<source>\(.*\)</source>.*:\1:p' "$ts" | sed "$unescape" | sort -u >"$unpacked/sources.txt"
    sed -n 's:.*<translation>\(.*\)</translation>.*:\1:p' "$ts" | sed "$unescape" | sort -u |
        comm -23 - "$unpacked/sources.txt"
}

start_game en
start_game hu
hungarian_only_texts >"$unpacked/hungarian.txt"
if grep -Fx -f "$unpacked/hungarian.txt" "$unpacked/shown-en.txt"; then
    fail "the English start showed the Hungarian texts above"
fi
shown=$(grep -Fxc -f "$unpacked/hungarian.txt" "$unpacked/shown-hu.txt" || true)
[ "$shown" -gt 0 ] || fail "the Hungarian start showed no Hungarian text"
echo "English start: $(wc -l <"$unpacked/shown-en.txt") texts; Hungarian start: $shown of its texts translated"

step "packages checked"
echo "RPM: $rpm_file"
echo "deb: $deb_file"
