#!/usr/bin/env bash
# cpack makes a Debian package of the install under /usr, whose dependencies come from the
# programs' own library needs (plus libEGL, which SDL opens while it runs), with stripped programs,
# that Debian's own checker, lintian, passes without an error or a warning, with AppStream
# metadata that validates and an icon at every size; and a .tar.gz of the same tree. $1 is the runnable folder; the build folder is its parent.
. "$(dirname "$0")/common.sh"

build_dir=$(dirname "$run_dir")
cd "$work"
cpack --config "$build_dir/CPackConfig.cmake" -B "$work/packages" >cpack.txt 2>&1 || fail "cpack: $(tail -5 cpack.txt)"
deb=$(ls "$work"/packages/orvo-gl_*.deb 2>/dev/null | head -1)
tarball=$(ls "$work"/packages/orvo-gl-*.tar.gz 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no .deb was made: $(tail -5 cpack.txt)"
[ -n "$tarball" ] || fail "no .tar.gz was made"

if [ -n "$deb" ]; then
  dpkg-deb -c "$deb" | awk '{print $NF}' >deb-files.txt
  for file in ./usr/bin/orvo-gl ./usr/bin/orvo-gl-tool ./usr/share/orvo-gl/data/Vallomere.mp3 \
    ./usr/share/orvo-gl/Basic_vert.cg ./usr/share/applications/io.github.orvo_gl.OrvoGL.desktop \
    ./usr/share/metainfo/io.github.orvo_gl.OrvoGL.metainfo.xml ./usr/share/man/man6/orvo-gl.6.gz \
    ./usr/share/man/man1/orvo-gl-tool.1.gz ./usr/share/doc/orvo-gl/copyright ./usr/share/doc/orvo-gl/changelog.gz; do
    grep -qx -- "$file" deb-files.txt || fail "the package lacks $file"
  done
  depends=$(dpkg-deb -f "$deb" Depends)
  for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libglew2.2 libglu1-mesa libfreetype6 libfontconfig1 libc6 libegl1; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
  done
  [ "$(dpkg-deb -f "$deb" Recommends)" = ffmpeg ] || fail "Recommends is not ffmpeg: $(dpkg-deb -f "$deb" Recommends)"
  [ "$(dpkg-deb -f "$deb" Package)" = orvo-gl ] || fail "the package is not called orvo-gl"
  [ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "the section is not graphics"
  [ "$(dpkg-deb -f "$deb" Priority)" = optional ] || fail "the priority is not optional"
  maintainer=$(sed -n 's/^ORVO_GL_MAINTAINER:STRING=//p' "$build_dir/CMakeCache.txt")
  [ -n "$maintainer" ] && [ "$(dpkg-deb -f "$deb" Maintainer)" = "$maintainer" ] ||
    fail "Maintainer is not ORVO_GL_MAINTAINER ($maintainer): $(dpkg-deb -f "$deb" Maintainer)"

  # lintian: no error and no warning; informational notes are listed, not failed. --allow-root
  # keeps its remark about running as root out of the report.
  lintian --allow-root --display-info "$deb" >lintian.txt 2>&1
  lintian_status=$?
  grep -E '^[EW]: ' lintian.txt >lintian-faults.txt && fail "lintian: $(cat lintian-faults.txt)"
  [ "$lintian_status" = 0 ] || [ -s lintian-faults.txt ] || fail "lintian failed (status $lintian_status): $(tail -3 lintian.txt)"
  grep -E '^I: ' lintian.txt | sed 's/^/lintian note: /'
  dpkg-deb -x "$deb" unpacked

  # What software centres read: metadata without an error or a warning (pedantic hints are listed),
  # and an icon of each size, measured.
  appstreamcli validate --no-net --pedantic --no-color unpacked/usr/share/metainfo/io.github.orvo_gl.OrvoGL.metainfo.xml \
    >appstream.txt 2>&1 || fail "appstreamcli validate: $(cat appstream.txt)"
  grep -q -E '^[EW]: ' appstream.txt && fail "appstreamcli validate: $(grep -E '^[EW]: ' appstream.txt)"
  grep -E '^[IP]: ' appstream.txt | sed 's/^/appstream note: /'
  for size in 16 32 48 64 128 256 512; do
    icon=unpacked/usr/share/icons/hicolor/${size}x$size/apps/io.github.orvo_gl.OrvoGL.png
    [ "$(identify -format '%m %w %h' "$icon" 2>/dev/null)" = "PNG $size $size" ] ||
      fail "the $size-pixel icon is not a $size x $size PNG: $(identify "$icon" 2>&1)"
  done
  file unpacked/usr/bin/orvo-gl | grep -q 'not stripped' && fail "the packaged program is not stripped"
  # The unpacked tree runs as far as its version.
  [ "$(cd /tmp && "$work/unpacked/usr/bin/orvo-gl" --version | cut -d' ' -f1)" = orvo-gl ] || fail "the packaged program does not run"
fi

if [ -n "$tarball" ]; then
  tar -tzf "$tarball" | sed 's|^[^/]*/||' >tar-files.txt
  for file in bin/orvo-gl share/orvo-gl/data/Vallomere.mp3 share/man/man6/orvo-gl.6.gz share/doc/orvo-gl/copyright; do
    grep -qx -- "$file" tar-files.txt || fail "the .tar.gz lacks $file"
  done
fi

finish package
