#!/bin/sh
# Installs every Debian 12 package the build, the data bake, the tests, the benchmarks and the
# packaging (cpack, dpkg-shlibdeps, lintian, appstreamcli, the desktop entry and manual page
# checks) need.
set -e
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config git ccache \
  libsdl2-dev libsdl2-mixer-dev libx11-dev libglew-dev libglu1-mesa-dev libgl-dev libgl1-mesa-dri libegl1 \
  libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core \
  libjpeg62-turbo-dev libpng-dev libtiff-dev libgif-dev zlib1g-dev libwmf-dev fonts-urw-base35 \
  libmp3lame-dev lame \
  libgtest-dev libgmock-dev libbenchmark-dev \
  xvfb xauth x11-xserver-utils xdotool openbox apitrace gdb \
  imagemagick lib3ds-dev assimp-utils \
  dpkg-dev file desktop-file-utils groff-base lintian appstream ffmpeg \
  clang libclang-rt-dev
