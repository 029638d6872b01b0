# Sourced by the scripts that make a zip or a tarball: the licences of what they bundle.
# copy_licences DEST BUILD_SUFFIX: the game's, SDL3's and its libraries', FreeType's and GNU Unifont's,
# from the source folders install-deps.sh built with BUILD_SUFFIX (-windows, -portable).
copy_licences() {
    local dest=$1 suffix=$2 src=${MOONVALE_DEPS_WORK:-/var/tmp/moonvale-deps-src} lib
    mkdir -p "$dest"
    cp LICENSE "$dest/Moonvale.txt"
    cp "$src/libsdl3_${SDL3_VER}+ds$suffix/LICENSE.txt" "$dest/SDL3.txt"
    for lib in image ttf mixer; do
        cp "$src"/libsdl3-"$lib"_*"$suffix"/LICENSE.txt "$dest/SDL3_$lib.txt"
    done
    cp "$src/freetype_${FREETYPE_VER}+dfsg$suffix/docs/FTL.TXT" "$dest/FreeType.txt"
    cp /usr/share/doc/fonts-unifont/copyright "$dest/GNU-Unifont.txt"
}
