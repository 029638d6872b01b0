#!/usr/bin/env bash
# Installs everything Moonvale needs on Debian 12: build tools and libraries from
# bookworm, and the SDL3 stack built from Debian's own source packages (bookworm
# has no SDL3). The stack goes into a prefix keyed by its versions, so a second
# run only checks a marker file.
# Usage: install-deps.sh [--portable] [--windows] [--web]: also the stacks for the
# portable tarball, the Windows zip and the browser.
set -euo pipefail

# shellcheck source=deps.conf
. "$(dirname "$0")/deps.conf"
# shellcheck source=apt-archive.sh
. "$(dirname "$0")/apt-archive.sh"
PREFIX="$MOONVALE_DEPS_PREFIX"

trap 'echo "[deps] failed at line $LINENO: $BASH_COMMAND" >&2' ERR
log() { printf '[deps] %s\n' "$*" >&2; }
warn() { printf '\n[deps] !!!!!!!! %s !!!!!!!!\n\n' "$*" >&2; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

APT_PACKAGES=(
    build-essential cmake ninja-build pkgconf dpkg-dev curl ca-certificates xz-utils
    libx11-dev libxext-dev libxrandr-dev libxcursor-dev libxi-dev libxss-dev libxfixes-dev
    libxkbcommon-dev libxtst-dev libasound2-dev libpulse-dev libpipewire-0.3-dev libdrm-dev
    libgbm-dev libegl-dev libgl-dev libgles-dev libwayland-dev wayland-protocols libdbus-1-dev
    libudev-dev libdecor-0-dev zlib1g-dev libfreetype-dev libogg-dev libvorbis-dev libglm-dev
    libmp3lame-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xdotool x11-xserver-utils imagemagick x11-utils fonts-unifont fonttools sox gettext
    file lintian desktop-file-utils appstream debootstrap openbox clang-tidy ccache clang libclang-rt-14-dev
    libcurl4-openssl-dev libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libpq-dev libunistring-dev postgresql-15 nginx openssl wrk
)

install_apt_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        log "Debian packages: all present"
        return
    fi
    log "Debian packages: installing ${missing[*]}"
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Source entries only: binary packages from newer suites would pull in a newer libc.
add_source_suites() {
    local list=/etc/apt/sources.list.d/moonvale-deb-src.sources
    [ -f "$list" ] && return
    log "adding deb-src entries for trixie and sid"
    printf 'Types: deb-src\nURIs: %s\nSuites: trixie sid\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$(archive_uri)" | $SUDO tee "$list" >/dev/null
    $SUDO apt-get update -q
}

# fetch POOL_DIR FILE SHA256 SOURCE_PACKAGE (POOL_DIR below pool/main, e.g. libs/libsdl3): the pinned orig tarball from the pool,
# verified; if it has gone, whatever version the index names, loudly.
fetch_orig() {
    local pooldir=$1 file=$2 sum=$3 srcpkg=$4 url
    url="$(archive_uri)/pool/main/${pooldir}/${file}" || exit 1
    if [ -f "$file" ] && echo "$sum  $file" | sha256sum -c --quiet - 2>/dev/null; then
        log "have $file"
        echo "$file"
        return
    fi
    log "fetching $url"
    if curl -fsSL -o "$file" "$url"; then
        echo "$sum  $file" | sha256sum -c --quiet - || { warn "checksum mismatch for $file"; exit 1; }
        echo "$file"
        return
    fi
    warn "$file is gone from the archive; falling back to the $srcpkg version the index names"
    add_source_suites
    apt-get source --download-only -q "$srcpkg" >&2
    ls -1 ${srcpkg}_*.orig.tar.* | sort -V | tail -n 1
}

# Sets sdl, img, ttf and mix to the four pinned source tarballs in the current folder.
fetch_sdl_sources() {
    sdl=$(fetch_orig libs/libsdl3 "libsdl3_${SDL3_VER}+ds.orig.tar.xz" \
        c0499ff0fb7b8d5849b943b80a334c7fa4aaa3f3e58d579fe935f8dcae552865 libsdl3)
    img=$(fetch_orig libs/libsdl3-image "libsdl3-image_${IMAGE_VER}+ds.orig.tar.xz" \
        7f689c5a95ad916cb8daca042b995ad136a6a1dc925f151d70ed4ce25dcc4614 libsdl3-image)
    ttf=$(fetch_orig libs/libsdl3-ttf "libsdl3-ttf_${TTF_VER}+ds.orig.tar.xz" \
        b10a1a0796955f48b766a87195a24523324b8dbf8c88d8626cfbfd050f8acfdf libsdl3-ttf)
    mix=$(fetch_orig libs/libsdl3-mixer "libsdl3-mixer_${MIXER_VER}+ds.orig.tar.xz" \
        5d73172348cc2ff83d24a217a9910af4771ca264b9028737388b47f617b68704 libsdl3-mixer)
}

# build_one TARBALL FOLDER_SUFFIX PREFIX [CMAKE_ARGS...]: extracted afresh, built and installed.
build_one() {
    local tarball=$1 suffix=$2 prefix=$3
    shift 3
    local dir="${tarball%.orig.tar.*}$suffix"
    rm -rf "$dir" && mkdir "$dir" && tar -xf "$tarball" -C "$dir" --strip-components=1
    log "building $dir"
    cmake -S "$dir" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" \
        >/dev/null
    cmake --build "$dir/build" >/dev/null
    $SUDO cmake --install "$dir/build" >/dev/null
}

# build_native PREFIX FOLDER_SUFFIX TARBALL [CMAKE_ARGS...]: for this machine, finding what the
# prefix already holds and linked with a RUNPATH into it.
build_native() {
    local prefix=$1 suffix=$2 tarball=$3
    shift 3
    build_one "$tarball" "$suffix" "$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_RPATH="$prefix/lib" \
        -DCMAKE_INSTALL_LIBDIR=lib "$@"
}
build_linux() { build_native "$PREFIX" "" "$@"; }

# enter_work_dir PREFIX: the archive is reachable, the prefix exists, and we are in the source folder.
enter_work_dir() {
    archive_uri >/dev/null || exit 1
    local work="${MOONVALE_DEPS_WORK:-/var/tmp/moonvale-deps-src}"
    $SUDO mkdir -p "$work" "$1"
    $SUDO chown "$(id -u):$(id -g)" "$work"
    cd "$work"
}

# Every build decodes only what the game ships (PNG, Ogg Vorbis, MP3, WAV) with the libraries' own
# decoders, and lays out text without HarfBuzz (one bitmap font, left to right): nothing of it then
# depends on codec libraries whose names differ between distributions and releases.
IMAGE_ARGS=(-DSDLIMAGE_SAMPLES=OFF -DSDLIMAGE_TESTS=OFF -DSDLIMAGE_VENDORED=OFF -DSDLIMAGE_BACKEND_STB=ON
    -DSDLIMAGE_AVIF=OFF -DSDLIMAGE_JXL=OFF -DSDLIMAGE_TIF=OFF -DSDLIMAGE_WEBP=OFF)
TTF_ARGS=(-DSDLTTF_SAMPLES=OFF -DSDLTTF_TESTS=OFF -DSDLTTF_VENDORED=OFF -DSDLTTF_HARFBUZZ=OFF -DSDLTTF_PLUTOSVG=OFF)
MIXER_ARGS=(-DSDLMIXER_SAMPLES=OFF -DSDLMIXER_EXAMPLES=OFF -DSDLMIXER_TESTS=OFF -DSDLMIXER_VENDORED=OFF
    -DSDLMIXER_DEPS_SHARED=OFF -DSDLMIXER_FLAC_LIBFLAC=OFF -DSDLMIXER_GME=OFF -DSDLMIXER_MOD=OFF
    -DSDLMIXER_MIDI=OFF -DSDLMIXER_OPUS=OFF -DSDLMIXER_MP3_MPG123=OFF -DSDLMIXER_VORBIS_VORBISFILE=OFF
    -DSDLMIXER_WAVPACK=OFF)
# FreeType built in, where the system's cannot be counted on.
FREETYPE_ARGS=(-DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DFT_DISABLE_ZLIB=ON
    -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON)

fetch_freetype() {
    fetch_orig f/freetype "freetype_${FREETYPE_VER}+dfsg.orig.tar.xz" \
        7dedb6b9adf331559daea614a83b8de42a753e685ec8e1c4bdb4529eb880b0d1 freetype
}

# build_with_freetype BUILD [SDL_ARGS...]: FreeType, SDL (with SDL_ARGS) and its three libraries from
# the pinned sources in the current folder, each built by the function BUILD (TARBALL CMAKE_ARGS...).
build_with_freetype() {
    local build=$1 ft sdl img ttf mix
    shift
    ft=$(fetch_freetype)
    fetch_sdl_sources
    "$build" "$ft" "${FREETYPE_ARGS[@]}"
    "$build" "$sdl" -DSDL_TESTS=OFF -DSDL_EXAMPLES=OFF "$@"
    "$build" "$img" "${IMAGE_ARGS[@]}"
    "$build" "$ttf" "${TTF_ARGS[@]}"
    "$build" "$mix" "${MIXER_ARGS[@]}"
}

build_stack() {
    if [ -f "$PREFIX/.complete" ]; then
        log "SDL3 stack: cached in $PREFIX"
        return
    fi
    enter_work_dir "$PREFIX"
    local sdl img ttf mix
    fetch_sdl_sources
    # Linked, not loaded at run time: the window-system and sound libraries then appear as
    # DT_NEEDED, so the package's dependencies can be computed from the binaries.
    build_linux "$sdl" -DSDL_TESTS=OFF -DSDL_EXAMPLES=OFF -DSDL_DEPS_SHARED=OFF
    build_linux "$img" "${IMAGE_ARGS[@]}"
    build_linux "$ttf" "${TTF_ARGS[@]}"
    build_linux "$mix" "${MIXER_ARGS[@]}"
    $SUDO touch "$PREFIX/.complete"
    log "SDL3 stack installed in $PREFIX"
}

# For the tarball that runs on any distribution: SDL as it comes (window system, GL and sound loaded
# at run time, whichever a machine has) and FreeType built in; nothing but the C library is linked.
PORTABLE_PREFIX="$MOONVALE_PORTABLE_DEPS_PREFIX"

build_portable() { build_native "$PORTABLE_PREFIX" -portable "$@"; }

build_portable_stack() {
    if [ -f "$PORTABLE_PREFIX/.complete" ]; then
        log "portable SDL3 stack: cached in $PORTABLE_PREFIX"
        return
    fi
    enter_work_dir "$PORTABLE_PREFIX"
    build_with_freetype build_portable
    $SUDO touch "$PORTABLE_PREFIX/.complete"
    log "portable SDL3 stack installed in $PORTABLE_PREFIX"
}

# The same sources cross-built for Windows with MinGW-w64, FreeType linked into SDL3_ttf.
WINDOWS_APT_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 wine zip unzip)
WIN_PREFIX="$MOONVALE_WIN_DEPS_PREFIX"
TOOLCHAIN="$(cd "$(dirname "$0")/.." && pwd)/cmake/mingw-w64-x86_64.cmake"

build_windows() {
    build_one "$1" -windows "$WIN_PREFIX" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_FIND_ROOT_PATH="$WIN_PREFIX" \
        -DCMAKE_PREFIX_PATH=/ "${@:2}"
}

build_windows_stack() {
    install_apt_packages "${WINDOWS_APT_PACKAGES[@]}"
    # glm and nlohmann's JSON are headers only: Debian's serve the cross build as they are.
    $SUDO mkdir -p "$WIN_PREFIX/include"
    $SUDO cp -r /usr/include/glm /usr/include/nlohmann "$WIN_PREFIX/include/"
    if [ -f "$WIN_PREFIX/.complete" ]; then
        log "Windows SDL3 stack: cached in $WIN_PREFIX"
        return
    fi
    enter_work_dir "$WIN_PREFIX"
    # Debian's repacked SDL source lacks the precompiled Direct3D shaders: OpenGL and software remain.
    build_with_freetype build_windows -DSDL_RENDER_D3D=OFF -DSDL_RENDER_D3D11=OFF -DSDL_RENDER_D3D12=OFF \
        -DSDL_GPU=OFF -DSDL_RENDER_GPU=OFF
    $SUDO touch "$WIN_PREFIX/.complete"
    log "Windows SDL3 stack installed in $WIN_PREFIX"
}

# The browser build: Emscripten from Debian 13 (Debian 12's is too old for SDL3), in a root of its own
# so the host stays a plain Debian 12, and the stack cross-built as static libraries inside it.
# shellcheck source=web-root.sh
. "$(dirname "$0")/web-root.sh"

make_web_root() {
    [ -f "$WEB_ROOT/.root-complete" ] && return
    local mirror
    mirror=$(archive_uri) || exit 1
    log "debootstrap a Debian 13 root for Emscripten into $WEB_ROOT (once)"
    $SUDO rm -rf "$WEB_ROOT" && $SUDO mkdir -p "$WEB_ROOT"
    $SUDO debootstrap --variant=minbase trixie "$WEB_ROOT" "$mirror" >/dev/null
    printf 'deb %s trixie main\ndeb %s trixie-updates main\n' "$mirror" "$mirror" |
        $SUDO tee "$WEB_ROOT/etc/apt/sources.list" >/dev/null
    in_web_root apt-get update -q >/dev/null
    # apt wants a terminal for its log; without /dev/pts it says so and carries on.
    in_web_root apt-get install -y -q --no-install-recommends emscripten cmake ninja-build python3 ccache >/dev/null
    $SUDO rm -rf "$WEB_ROOT/var/cache/apt/archives/"*.deb
    $SUDO touch "$WEB_ROOT/.root-complete"
}

# build_web TARBALL [CMAKE_ARGS...]: built with emcmake inside the root, installed into its prefix.
build_web() {
    local tarball=$1 dir
    shift
    dir=${tarball%.orig.tar.*}
    log "building $dir for the browser"
    $SUDO mkdir -p "$WEB_ROOT/src"
    $SUDO rm -rf "$WEB_ROOT/src/$dir" && $SUDO mkdir "$WEB_ROOT/src/$dir"
    $SUDO tar -xf "$tarball" -C "$WEB_ROOT/src/$dir" --strip-components=1
    in_web_root sh -c 'cd "/src/$0" && prefix=$1 && shift && emcmake cmake -S . -B build -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" "$@" &&
        cmake --build build && cmake --install build' "$dir" "$WEB_PREFIX" "$@" >/dev/null
}

# What the browser test drives Chromium with, from Debian 12.
WEB_APT_PACKAGES=(chromium python3-websocket python3-pil zip unzip)

build_web_stack() {
    install_apt_packages "${WEB_APT_PACKAGES[@]}"
    if [ -f "$WEB_ROOT/.complete" ]; then
        log "browser SDL3 stack: cached in $WEB_ROOT"
    else
        (
            enter_work_dir "$WEB_ROOT"
            make_web_root
            build_with_freetype build_web -DSDL_SHARED=OFF -DSDL_STATIC=ON
        )
        $SUDO touch "$WEB_ROOT/.complete"
        log "browser SDL3 stack installed in $WEB_ROOT$WEB_PREFIX"
    fi
    # glm and nlohmann's JSON are headers only: Debian's serve the cross build as they are.
    $SUDO cp -r /usr/include/glm /usr/include/nlohmann "$WEB_ROOT$WEB_PREFIX/include/"
}

portable=false windows=false web=false packages_only=false
packages=("${APT_PACKAGES[@]}")
for option in "$@"; do
    case $option in
    --portable) portable=true ;;
    --windows) windows=true && packages+=("${WINDOWS_APT_PACKAGES[@]}") ;;
    --web) web=true && packages+=("${WEB_APT_PACKAGES[@]}") ;;
    --packages-only) packages_only=true ;;
    *) echo "usage: install-deps.sh [--portable] [--windows] [--web] [--packages-only]" >&2 && exit 2 ;;
    esac
done
# Every Debian package in one go: one index update, one dpkg run.
install_apt_packages "${packages[@]}"
$packages_only && exit 0

# On a fresh machine the stacks take minutes. The web root's debootstrap and apt wait on the network and
# the disk, so they go beside the builds; the native stacks build in a lane beside the Windows one (on two
# cores this measured about even with one after the other). Sources are fetched first, once, since the
# lanes share the folder they are fetched into.
if $web && [ ! -f "$WEB_ROOT/.complete" ]; then
    web_root_log=$(mktemp)
    (
        enter_work_dir "$WEB_ROOT"
        make_web_root
    ) >"$web_root_log" 2>&1 &
    web_root_job=$!
fi
if [ ! -f "$PREFIX/.complete" ] || { $portable && [ ! -f "$PORTABLE_PREFIX/.complete" ]; } ||
    { $windows && [ ! -f "$WIN_PREFIX/.complete" ]; } || { $web && [ ! -f "$WEB_ROOT/.complete" ]; }; then
    (
        enter_work_dir "$PREFIX"
        fetch_sdl_sources
        fetch_freetype >/dev/null
    )
fi
# A lane's failure stops the script at its wait.
(
    build_stack
    if $portable; then build_portable_stack; fi
) &
native_lane=$!
if $windows; then (build_windows_stack); fi
if [ -n "${web_root_job:-}" ]; then
    wait "$web_root_job" || { cat "$web_root_log"; log "the web root could not be made"; exit 1; }
    rm -f "$web_root_log"
fi
if $web; then (build_web_stack); fi
wait "$native_lane"
