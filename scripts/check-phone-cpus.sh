#!/usr/bin/env bash
# The rules on the phones' CPUs: builds the core, its tests and the replay tools for aarch64 (today's
# Sailfish phones) and 32-bit ARM hard-float (older ones) with Debian's cross compilers against Debian's own
# Qt 5 for those CPUs, and runs the core suite, the golden traces among it, under qemu-user. Then every
# stored solution is saved halfway on each CPU and resumed here, and must end alike.
#
# Each CPU's Qt is unpacked from Debian's packages into a folder of its own with an apt state of its own, so
# this machine's dpkg never learns of another architecture; the folders are kept between runs under
# ~/.cache/pellwick (delete them to fetch Debian's newest). Arguments go to CMake, for example
# -DCMAKE_BUILD_TYPE=Debug.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" cross

cache=${XDG_CACHE_HOME:-${HOME:-$top}/.cache}/pellwick
work="$top/build-cpus"
# Qt's headers and libraries with all they need, and the C library's and C++ library's headers.
sysroot_packages=(qtbase5-dev libstdc++-12-dev)
SECONDS=0

step() {
    echo "-- $* (${SECONDS} s)"
}

# Unpacks Debian 12's Qt for one architecture into $cache/sysroot-ARCH, unless a run before left it whole.
# It is unpacked beside and moved in at the end, so that a run stopped halfway leaves nothing half made.
unpack_sysroot() {
    local arch=$1
    local root="$cache/sysroot-$arch"
    if [ "$(cat "$root/.unpacked" 2>/dev/null)" = "${sysroot_packages[*]}" ]; then
        return
    fi
    step "$arch: fetching Debian's Qt for $arch into $root"
    local work_root="$root.partial.$$" apt="$cache/apt-$arch.$$"
    rm -rf "$work_root" "$apt"
    mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$work_root/usr/bin" \
        "$work_root/usr/lib" "$work_root/usr/sbin"
    touch "$apt/state/status"
    local options=(-o "APT::Architecture=$arch" -o "APT::Architectures=$arch" -o "Dir::State=$apt/state"
        -o "Dir::State::status=$apt/state/status" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1
        -o APT::Sandbox::User=root)
    apt-get "${options[@]}" -qq update
    apt-get "${options[@]}" -qq -y --no-install-recommends --download-only install "${sysroot_packages[@]}" \
        >/dev/null
    # Debian 12 keeps its libraries under /usr, with /lib and /bin links to it.
    ln -s usr/bin "$work_root/bin"
    ln -s usr/lib "$work_root/lib"
    ln -s usr/sbin "$work_root/sbin"
    for deb in "$apt"/cache/archives/*.deb; do
        dpkg-deb --fsys-tarfile "$deb" | tar -x --keep-directory-symlink --exclude=./usr/share -C "$work_root"
    done
    # The sysroot's moc and rcc are built for its CPU; this machine's do the same work.
    for tool in moc rcc; do
        ln -sf "/usr/lib/qt5/bin/$tool" "$work_root/usr/lib/qt5/bin/$tool"
    done
    echo "${sysroot_packages[*]}" >"$work_root/.unpacked"
    rm -rf "$apt" "$root"
    mv "$work_root" "$root"
}

# The Debian architectures of the phones, with their compilers' targets and their emulators.
declare -A targets=([arm64]=aarch64-linux-gnu [armhf]=arm-linux-gnueabihf)
declare -A emulators=([arm64]=qemu-aarch64 [armhf]=qemu-arm)
native=$(dpkg --print-architecture)
cpus=("$native" arm64 armhf)

# Configures the core for one CPU, this machine's or a phone's, and builds a target ("all" for the tests
# too), in a release build without debug information: the traces must hold there as in the other builds,
# and it compiles fastest.
build_core() {
    local arch=$1 target=$2
    shift 2
    local build="$work/$arch"
    mkdir -p "$build"
    cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPELLWICK_CORE_ONLY=ON -DPELLWICK_WERROR=ON "$@" \
        >"$build/configure.log" || { cat "$build/configure.log"; exit 1; }
    cmake --build "$build" -j"$(nproc)" --target "$target" >"$build/build.log" ||
        { tail -n 50 "$build/build.log"; exit 1; }
}

# Builds the core for one of the phones' CPUs and runs the core suite there, the golden traces among it.
check_phone_cpu() {
    local arch=$1
    shift
    local root="$cache/sysroot-$arch" target=${targets[$arch]}
    unpack_sysroot "$arch"
    step "$arch: building the core, its tests and pellwick-replay"
    build_core "$arch" all -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="${target%%-*}" -DCMAKE_SYSROOT="$root" \
        -DCMAKE_CXX_COMPILER="$target-g++" -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER \
        -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY \
        -DCMAKE_FIND_ROOT_PATH_MODE_PACKAGE=ONLY -DCMAKE_CROSSCOMPILING_EMULATOR="${emulators[$arch]};-L;$root" "$@"
    step "$arch: the core suite under ${emulators[$arch]}"
    ctest --test-dir "$work/$arch" --output-on-failure -j"$(nproc)" >"$work/$arch/ctest.log" ||
        { cat "$work/$arch/ctest.log"; exit 1; }
    tail -n 3 "$work/$arch/ctest.log"
}

# Runs pellwick-replay as built for one CPU, on that CPU.
replay_on() {
    local arch=$1
    shift
    if [ "$arch" = "$native" ]; then
        "$work/$arch/tools/pellwick-replay" "$@"
    else
        "${emulators[$arch]}" -L "$cache/sysroot-$arch" "$work/$arch/tools/pellwick-replay" "$@"
    fi
}

# This machine's suite runs in the other stages; here its replay tool is the reference for the handovers.
step "$native: building pellwick-replay"
build_core "$native" pellwick-replay "$@"
check_phone_cpu arm64 "$@"
check_phone_cpu armhf "$@"

step "a run saved halfway on any of the CPUs plays on alike"
handover="$work/handover"
rm -rf "$handover" && mkdir -p "$handover"
same_bytes=0
solutions=("$top"/replays/solutions/level-*.txt)
for solution in "${solutions[@]}"; do
    name=$(basename "$solution" .txt)
    for cpu in "${cpus[@]}"; do
        replay_on "$cpu" save-halfway "$solution" "$handover/$name-$cpu.snapshot"
    done
    # The phones play the same ticks as this machine (the traces say so), so one CPU resuming every
    # snapshot tells whether they hold the same run.
    for cpu in "${cpus[@]}"; do
        replay_on "$native" resume "$solution" "$handover/$name-$cpu.snapshot"
    done >"$handover/$name.ends"
    [ "$(sort -u "$handover/$name.ends" | wc -l)" -eq 1 ] || { cat "$handover/$name.ends"; exit 1; }
    if cmp -s "$handover/$name-$native.snapshot" "$handover/$name-arm64.snapshot" &&
        cmp -s "$handover/$name-$native.snapshot" "$handover/$name-armhf.snapshot"; then
        same_bytes=$((same_bytes + 1))
    fi
done
# The terrain's PNG may differ in the colour of partly transparent pixels (Qt unpremultiplies them with
# the CPU's own vector code); their alpha, all that the rules read, and the premultiplied pixels restored
# from them are the same everywhere.
echo "all ${#solutions[@]} handovers end alike; $same_bytes of the snapshots are the same bytes on every CPU"
step "done"
