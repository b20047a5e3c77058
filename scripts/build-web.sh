#!/bin/bash
# Builds the web edition into build-web/: installs what it needs from Debian (emscripten, and
# chromium for the browser tests), builds the libraries with emscripten from Debian's source
# packages into build-web/deps/ (once), builds the presentation for WebGL 2, and lays out the site
# folder build-web/site/ that any static web server can serve: the page, the program's .js and
# .wasm, the shader files, the font and the data folder the desktop build baked (the same bytes;
# the desktop build runs first when that folder is missing). Then packs the site folder as
# build-web/orvo-gl-web-VERSION.tar.gz.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(emscripten chromium dpkg-dev fonts-dejavu-core)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -d build/run/data ]; then
  ./scripts/build.sh
fi

export NODE_PATH=/usr/share/nodejs
web=build-web
./scripts/build-web-libraries.sh "$web/deps" "$web/deps-work"

# emcmake is left out on purpose: with Node 20 its setting makes every configure check that runs
# code give a wrong answer. The toolchain file and node as the emulator answer them rightly.
cmake -S . -B "$web" -G "Unix Makefiles" \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch" \
  -DCMAKE_BUILD_TYPE=Release -DDEMO_WEB_PREFIX="$PWD/$web/deps" >/dev/null
cmake --build "$web" -j"$(nproc)"

# The data folder as the desktop build baked it, byte for byte, and the list of files the page
# fetches into the program's file system. A data folder that is a link (to another checkout's
# bake) is copied as the files it holds: the site is served and packed as plain files.
site=$web/site
rm -rf "$site/data"
cp -R -L --preserve=timestamps build/run/data "$site/data"
diff -r -q build/run/data "$site/data" >&2 || { echo "build-web: $site/data differs from build/run/data" >&2; exit 1; }
(cd "$site" && find data fonts -type f ! -name 'LICENSE*' | sort && ls -1 -- *.cg) >"$site/files.txt.part"
mv "$site/files.txt.part" "$site/files.txt"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$web/CMakeCache.txt")
archive=$web/orvo-gl-web-$version.tar.gz
tar -C "$web" --transform "s,^site,orvo-gl-web-$version," -czf "$archive.part" site
mv "$archive.part" "$archive"
echo "build-web: the site is $site/ (serve it with: cd $site && python3 -m http.server --bind 127.0.0.1); packed as $archive"
