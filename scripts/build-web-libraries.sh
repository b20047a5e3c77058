#!/bin/bash
# Builds the libraries the web edition links with emscripten, from Debian's source packages, into
# PREFIX (PREFIX/include, PREFIX/lib): SDL2, zlib, libpng, libjpeg-turbo, FreeType, libtiff, giflib
# and GLU's tessellator. Each library is built once: PREFIX/stamps/NAME names the version built, and
# a library whose stamp names the version expected here is left as it is.
# The sources come through a private source list and private apt state under WORK, so the
# system's apt configuration is neither read for sources nor changed.
# Usage: build-web-libraries.sh PREFIX WORK
set -euo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 PREFIX WORK" >&2
  exit 2
fi
prefix=$1
work=$2
case "$prefix$work" in
  *" "*) echo "build-web-libraries: the folders must not contain spaces: $prefix $work" >&2; exit 2 ;;
esac
mkdir -p "$prefix/include" "$prefix/lib" "$prefix/stamps" "$work"
prefix=$(cd "$prefix" && pwd)
work=$(cd "$work" && pwd)
sources=$work/sources
logs=$work/logs
mkdir -p "$sources" "$logs"

export NODE_PATH=/usr/share/nodejs
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
jobs=$(nproc)
# Third-party code is built as its makers ship it; its warnings are theirs.
export LIB_CFLAGS="-O2 -w"

fail() {
  echo "build-web-libraries: $1" >&2
  exit 1
}

# ---- Sources, through private apt state

apt_options=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache" -o APT::Sandbox::User=root)
apt_ready=no

# The Debian archive the system installs bookworm from, so a machine set to a mirror keeps to it.
debian_archive() {
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' | awk '$2 == "bookworm" { print $1; exit }'
}

prepare_apt() {
  if [ "$apt_ready" = yes ]; then
    return
  fi
  local archive
  archive=$(debian_archive)
  [ -n "$archive" ] || fail "the system's apt sources name no bookworm archive to take source packages from"
  mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial"
  # The security suite serves no source packages here, so only these two are listed.
  cat >"$work/apt/sources.list" <<EOF
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $archive bookworm main
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $archive bookworm-updates main
EOF
  apt-get "${apt_options[@]}" update -qq >"$logs/apt-update.log" 2>&1 ||
    fail "apt-get update for the source list failed; see $logs/apt-update.log"
  apt_ready=yes
}

# Where the archive serves a package's upstream tarball but not its Debian changes (a 1.0-format
# .diff.gz, which touches only the packaging), the upstream source as released is built.
unpack_upstream() {
  local package=$1 expected=$2 tarball
  tarball=$(find "$sources" -maxdepth 1 -name "${package}_${expected}*.orig.tar.*" | head -n 1)
  [ -n "$tarball" ] || fail "apt-get source $package failed; see $logs/$package-source.log"
  echo "build-web-libraries: the Debian changes to $package could not be fetched (see $logs/$package-source.log);" \
    "building its upstream source, $(basename "$tarball")" >&2
  mkdir -p "$sources/$package-$expected"
  tar -xf "$tarball" -C "$sources/$package-$expected" --strip-components=1
}

# Unpacks source package PACKAGE once and prints its folder; fails when its upstream version is
# not EXPECTED.
source_folder() {
  local package=$1 expected=$2 folder
  folder=$(find "$sources" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
  if [ -z "$folder" ]; then
    prepare_apt
    if ! (cd "$sources" && apt-get "${apt_options[@]}" source -qq "$package" >"$logs/$package-source.log" 2>&1); then
      unpack_upstream "$package" "$expected"
    fi
    folder=$(find "$sources" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n 1)
  fi
  [ -n "$folder" ] || fail "apt-get source $package unpacked no folder in $sources"
  case "$(basename "$folder")" in
    "$package-$expected" | "$package-$expected"[+.~-]*) ;;
    *) fail "$(basename "$folder") is not version $expected of $package, which the web edition is built against" ;;
  esac
  echo "$folder"
}

# ---- Building

# Compiles the C files (paths relative to the working folder) with LIB_CFLAGS plus the given
# flags into one archive, two at a time.
compile_archive() {
  local archive=$1 flags=$2
  shift 2
  local objects=$work/objects/$(basename "$archive" .a)
  rm -rf "$objects"
  mkdir -p "$objects"
  printf '%s\n' "$@" | EXTRA_FLAGS=$flags OBJECTS=$objects xargs -P "$jobs" -n 1 sh -c \
    'emcc $LIB_CFLAGS $EXTRA_FLAGS -c "$0" -o "$OBJECTS/$(printf %s "$0" | tr / _).o"'
  rm -f "$archive"
  emar rcs "$archive" "$objects"/*.o
}

# Configures and builds a CMake project with emscripten's toolchain; run-time checks of the
# configure step run under node (emcmake's own setting answers them wrongly with Node 20).
cmake_build() {
  local name=$1 folder=$2 target=$3
  shift 3
  local build=$work/build/$name
  rm -rf "$build"
  cmake -S "$folder" -B "$build" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE=$toolchain \
    "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS="$LIB_CFLAGS" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" \
    >"$logs/$name-configure.log" 2>&1 || fail "configuring $name failed; see $logs/$name-configure.log"
  cmake --build "$build" --target "$target" -j"$jobs" >"$logs/$name-build.log" 2>&1 ||
    fail "building $name failed; see $logs/$name-build.log"
  echo "$build"
}

# Prints FOLDER/NAME.c for each NAME.
c_files() {
  local folder=$1
  shift
  printf "$folder/%s.c\n" "$@"
}

stamp_current() {
  [ "$(cat "$prefix/stamps/$1" 2>/dev/null)" = "$2" ]
}

stamp() {
  echo "$2" >"$prefix/stamps/$1"
  echo "build-web-libraries: $1 $2 built"
}

build_zlib() {
  local version=1.2.13 folder
  stamp_current zlib $version && return
  folder=$(source_folder zlib $version)
  local files
  mapfile -t files < <(c_files "$folder" adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil)
  compile_archive "$prefix/lib/libz.a" "-DHAVE_UNISTD_H -DHAVE_STDARG_H" "${files[@]}"
  cp "$folder/zlib.h" "$prefix/include/"
  # As zlib's configure does where the system has unistd.h and stdarg.h: every user of the header
  # then sees the same off_t-based declarations the library was built with.
  sed -e 's/^#ifdef HAVE_UNISTD_H.*may be.*/#if 1/' -e 's/^#ifdef HAVE_STDARG_H.*may be.*/#if 1/' \
    "$folder/zconf.h" >"$prefix/include/zconf.h"
  stamp zlib $version
}

build_libpng() {
  local version=1.6.39 folder
  stamp_current libpng $version && return
  folder=$(source_folder libpng1.6 $version)
  local config=$work/config/libpng
  mkdir -p "$config"
  cp "$folder/scripts/pnglibconf.h.prebuilt" "$config/pnglibconf.h"
  local files
  mapfile -t files < <(c_files "$folder" png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset \
    pngtrans pngwio pngwrite pngwtran pngwutil)
  compile_archive "$prefix/lib/libpng.a" "-I$config -I$prefix/include" "${files[@]}"
  cp "$folder/png.h" "$folder/pngconf.h" "$config/pnglibconf.h" "$prefix/include/"
  stamp libpng $version
}

build_libjpeg() {
  local version=2.1.5 folder build
  stamp_current libjpeg-turbo $version && return
  folder=$(source_folder libjpeg-turbo $version)
  build=$(cmake_build libjpeg-turbo "$folder" jpeg-static -DWITH_SIMD=0 -DENABLE_SHARED=0 -DWITH_TURBOJPEG=0)
  cp "$build/libjpeg.a" "$prefix/lib/libjpeg.a"
  cp "$build/jconfig.h" "$folder/jerror.h" "$folder/jmorecfg.h" "$folder/jpeglib.h" "$prefix/include/"
  stamp libjpeg-turbo $version
}

build_freetype() {
  local version=2.12.1 folder build
  stamp_current freetype $version && return
  folder=$(source_folder freetype $version)
  # The built zlib, not FreeType's own copy: both in one program would define the same symbols.
  build=$(cmake_build freetype "$folder" freetype -DFT_REQUIRE_ZLIB=TRUE -DFT_DISABLE_BZIP2=TRUE \
    -DFT_DISABLE_PNG=TRUE -DFT_DISABLE_HARFBUZZ=TRUE -DFT_DISABLE_BROTLI=TRUE \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include")
  cmake --install "$build" >"$logs/freetype-install.log" 2>&1 || fail "installing freetype failed"
  stamp freetype $version
}

build_libtiff() {
  local version=4.5.0 folder build
  stamp_current libtiff $version && return
  folder=$(source_folder tiff $version)
  build=$(cmake_build libtiff "$folder" tiff -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF \
    -Dtiff-docs=OFF -Dtiff-deprecated=OFF -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=OFF -Djbig=OFF -Dlzma=OFF \
    -Dzstd=OFF -Dwebp=OFF -Dlerc=OFF -Dlibdeflate=OFF -Djpeg12=OFF \
    -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a" -DJPEG_INCLUDE_DIR="$prefix/include")
  cp "$build/libtiff/libtiff.a" "$prefix/lib/libtiff.a"
  cp "$folder/libtiff/tiff.h" "$folder/libtiff/tiffio.h" "$folder/libtiff/tiffvers.h" \
    "$build/libtiff/tiffconf.h" "$prefix/include/"
  stamp libtiff $version
}

build_giflib() {
  local version=5.2.1 folder
  stamp_current giflib $version && return
  folder=$(source_folder giflib $version)
  local files
  mapfile -t files < <(c_files "$folder" dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray \
    quantize)
  compile_archive "$prefix/lib/libgif.a" "" "${files[@]}"
  cp "$folder/gif_lib.h" "$prefix/include/"
  stamp giflib $version
}

# Only the tessellator and what it calls: the rest of GLU (mipmaps, quadrics, projection) is
# desktop GL, which the web edition does not use.
build_glu_tessellator() {
  local version=9.0.2 folder
  stamp_current glu-tessellator $version && return
  folder=$(source_folder libglu $version)
  local files
  # priorityq-heap.c is not a unit of its own: priorityq.c includes it.
  mapfile -t files < <(c_files "$folder/src/libtess" dict geom memalloc mesh normal priorityq render sweep tess tessmono)
  compile_archive "$prefix/lib/libGLU.a" "-I$folder/include -I$folder/src/include" \
    "${files[@]}" "$folder/src/libutil/error.c" "$folder/src/libutil/glue.c"
  mkdir -p "$prefix/include/GL"
  cp "$folder/include/GL/glu.h" "$prefix/include/GL/"
  stamp glu-tessellator $version
}

# The file list of emscripten's own SDL2 port, plus what SDL 2.26 added since that port's version.
build_sdl2() {
  local version=2.26.5 folder
  stamp_current sdl2 $version && return
  folder=$(source_folder libsdl2 $version)
  local names="SDL.c SDL_assert.c SDL_dataqueue.c SDL_error.c SDL_hints.c SDL_log.c SDL_guid.c SDL_list.c
    SDL_utils.c atomic/SDL_atomic.c atomic/SDL_spinlock.c audio/SDL_audio.c audio/SDL_audiocvt.c
    audio/SDL_audiodev.c audio/SDL_audiotypecvt.c audio/SDL_mixer.c audio/SDL_wave.c cpuinfo/SDL_cpuinfo.c
    dynapi/SDL_dynapi.c events/SDL_clipboardevents.c events/SDL_displayevents.c events/SDL_dropevents.c
    events/SDL_events.c events/SDL_gesture.c events/SDL_keyboard.c events/SDL_mouse.c events/SDL_quit.c
    events/SDL_touch.c events/SDL_windowevents.c file/SDL_rwops.c haptic/SDL_haptic.c
    joystick/SDL_gamecontroller.c joystick/SDL_joystick.c joystick/controller_type.c power/SDL_power.c
    render/SDL_d3dmath.c render/SDL_render.c render/SDL_yuv_sw.c render/direct3d/SDL_render_d3d.c
    render/direct3d11/SDL_render_d3d11.c render/opengl/SDL_render_gl.c render/opengl/SDL_shaders_gl.c
    render/opengles/SDL_render_gles.c render/opengles2/SDL_render_gles2.c
    render/opengles2/SDL_shaders_gles2.c render/psp/SDL_render_psp.c render/software/SDL_blendfillrect.c
    render/software/SDL_blendline.c render/software/SDL_blendpoint.c render/software/SDL_drawline.c
    render/software/SDL_drawpoint.c render/software/SDL_render_sw.c render/software/SDL_rotate.c
    render/software/SDL_triangle.c sensor/SDL_sensor.c sensor/dummy/SDL_dummysensor.c stdlib/SDL_crc16.c
    stdlib/SDL_crc32.c stdlib/SDL_getenv.c stdlib/SDL_iconv.c stdlib/SDL_malloc.c stdlib/SDL_qsort.c
    stdlib/SDL_stdlib.c stdlib/SDL_string.c stdlib/SDL_strtokr.c thread/SDL_thread.c timer/SDL_timer.c
    video/SDL_RLEaccel.c video/SDL_blit.c video/SDL_blit_0.c video/SDL_blit_1.c video/SDL_blit_A.c
    video/SDL_blit_N.c video/SDL_blit_auto.c video/SDL_blit_copy.c video/SDL_blit_slow.c video/SDL_bmp.c
    video/SDL_clipboard.c video/SDL_egl.c video/SDL_fillrect.c video/SDL_pixels.c video/SDL_rect.c
    video/SDL_shape.c video/SDL_stretch.c video/SDL_surface.c video/SDL_video.c video/SDL_yuv.c
    video/emscripten/SDL_emscriptenevents.c video/emscripten/SDL_emscriptenframebuffer.c
    video/emscripten/SDL_emscriptenmouse.c video/emscripten/SDL_emscriptenopengles.c
    video/emscripten/SDL_emscriptenvideo.c audio/emscripten/SDL_emscriptenaudio.c video/dummy/SDL_nullevents.c
    video/dummy/SDL_nullframebuffer.c video/dummy/SDL_nullvideo.c video/yuv2rgb/yuv_rgb.c
    audio/disk/SDL_diskaudio.c audio/dummy/SDL_dummyaudio.c loadso/dlopen/SDL_sysloadso.c
    power/emscripten/SDL_syspower.c joystick/emscripten/SDL_sysjoystick.c
    filesystem/emscripten/SDL_sysfilesystem.c timer/unix/SDL_systimer.c haptic/dummy/SDL_syshaptic.c
    main/dummy/SDL_dummy_main.c locale/SDL_locale.c locale/emscripten/SDL_syslocale.c misc/SDL_url.c
    misc/dummy/SDL_sysurl.c thread/generic/SDL_syscond.c thread/generic/SDL_sysmutex.c
    thread/generic/SDL_syssem.c thread/generic/SDL_systhread.c thread/generic/SDL_systls.c"
  local files=()
  for name in $names; do
    files+=("$folder/src/$name")
  done
  compile_archive "$prefix/lib/libSDL2.a" "-I$folder/include" "${files[@]}"
  rm -rf "$prefix/include/SDL2"
  mkdir -p "$prefix/include/SDL2"
  cp "$folder"/include/*.h "$prefix/include/SDL2/"
  stamp sdl2 $version
}

build_zlib
build_libpng
build_libjpeg
build_freetype
build_libtiff
build_giflib
build_glu_tessellator
build_sdl2
