#!/usr/bin/env bash
# Builds Moonvale for the browser and makes build/web/moonvale-<version>-web.zip: a static site (the
# page, the game's .js and .wasm, the packed assets, the icons, the web app manifest and the service
# worker that keeps an offline copy) that any web server can host.
# Prints the zip's path on stdout.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh --web >&2
. scripts/web-root.sh
version=$(sed -n 's/^project(Moonvale VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# The assets and the icon come from the generator, which runs on this machine.
cmake --preset release >&2
cmake --build --preset release --target assets >&2
rm -rf build/web/assets && mkdir -p build/web
cp -rL build/release/assets build/web/assets
rm -f build/web/assets/score.dat* build/web/assets/settings.ini* build/web/assets/.generated

# Emscripten lives in its own root.
in_web_checkout "cmake --preset web -DMOONVALE_WEB_ASSETS=/src/moonvale/build/web/assets && cmake --build --preset web" >&2

name=moonvale-$version-web
site=build/web/$name
rm -rf "$site" "$site.zip"
mkdir -p "$site"
cp packaging/web/{index.html,page.js,manifest.webmanifest} build/web/moonvale.{js,wasm,data} "$site/"
python3 scripts/web-strings.py build/web/assets/locale >"$site/strings.js"
for size in 192 512; do cp "build/release/icons/${size}x$size/apps/moonvale.png" "$site/icon-$size.png"; done
cp build/release/icons/64x64/apps/moonvale.png "$site/icon.png"
# The offline copy's cache is named after the files it holds: another build is another cache.
files_hash=$(cat "$site"/* | sha256sum | cut -c1-12)
sed "s/@VERSION@/$version-$files_hash/" packaging/web/sw.js >"$site/sw.js"
(cd build/web && zip -q -r -X -9 "$name.zip" "$name")
echo "$root/$site.zip"
