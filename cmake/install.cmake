# Installs the presentation as a program of the platform, and packs that install as a .deb and a
# .tar.gz (cpack in the build folder):
#   bin/orvo-gl, bin/orvo-gl-tool        the presentation and its tools program
#   share/orvo-gl/                       the shader files and the baked data/ folder
#   share/applications/ID.desktop        the desktop entry, ID being the id below
#   share/metainfo/ID.metainfo.xml        what software centres show (AppStream)
#   share/icons/hicolor/NxN/apps/ID.png  the icons, 16 to 512 pixels, painted by the tools program
#   share/man/man6/orvo-gl.6.gz          the manual pages, gzipped
#   share/man/man1/orvo-gl-tool.1.gz
#   share/doc/orvo-gl/                   copyright (machine-readable) and changelog.gz
# The tests, the benchmarks and the fuzz targets are not installed.

# Who answers for the package: its Maintainer field, the changelog's signature and the copyright
# file's contact. A distributor sets their own name and address.
set(ORVO_GL_MAINTAINER "Orvo GL developers <developers@orvo-gl.invalid>" CACHE STRING
  "Maintainer of the packages, as 'Name <address>'")
# Where the project is published: the AppStream metadata's home page, and the folder its
# screenshots (the README's frames, docs/*.png) are fetched from by software centres.
set(ORVO_GL_HOMEPAGE "https://github.com/orvo-gl/orvo-gl" CACHE STRING "The project's home page")
set(ORVO_GL_SCREENSHOT_URL "https://raw.githubusercontent.com/orvo-gl/orvo-gl/main/docs" CACHE STRING
  "URL of the folder that holds the screenshots docs/*.png")

# The id software centres know the presentation by: the desktop entry, the AppStream metadata and
# the icons are named after it.
set(DEMO_APP_ID io.github.orvo_gl.OrvoGL)

# The icons are painted by the baker from its own pictures, each size for itself, so no display is
# needed to make them.
set(DEMO_ICON_SIZES 16 32 48 64 128 256 512)
set(DEMO_ICONS "")
foreach(size ${DEMO_ICON_SIZES})
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${DEMO_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND $<TARGET_FILE:${DEMO_TOOL_PROGRAM}> icon ${icon} --size ${size}
    DEPENDS ${DEMO_TOOL_PROGRAM}
    COMMENT "Painting the ${size}-pixel icon"
    VERBATIM)
  list(APPEND DEMO_ICONS ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(icons ALL DEPENDS ${DEMO_ICONS})

# The programs carry their installed names in the build too; a stripped install (cmake --install
# --strip, and the packages) drops their debug information.
install(TARGETS ${DEMO_PROGRAM} ${DEMO_TOOL_PROGRAM} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${SHADER_FILES} DESTINATION ${DEMO_INSTALL_RESOURCES_DIR})
install(FILES ${DEMO_DATA_OUTPUTS} DESTINATION ${DEMO_INSTALL_RESOURCES_DIR}/data)
# The desktop entry, the manual pages and the package's documents name the installed programs,
# their folders and the maintainer.
string(TOUPPER ${DEMO_PRODUCT_NAME} DEMO_PRODUCT_NAME_UPPER)
set(DEMO_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl.desktop.in ${DEMO_PACKAGING_DIR}/${DEMO_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl.metainfo.xml.in ${DEMO_PACKAGING_DIR}/${DEMO_APP_ID}.metainfo.xml
  @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl.6.in ${DEMO_PACKAGING_DIR}/${DEMO_PRODUCT_NAME}.6 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl-tool.1.in ${DEMO_PACKAGING_DIR}/${DEMO_TOOL_PROGRAM}.1 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${DEMO_PACKAGING_DIR}/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${DEMO_PACKAGING_DIR}/copyright @ONLY)
# The copyright file covers title models made from DejaVu Sans Bold, the bake's second choice; a
# machine that has its first choice, Arial Black, makes them from a font the file does not cover.
find_program(FC_MATCH_PROGRAM fc-match)
if(FC_MATCH_PROGRAM)
  execute_process(COMMAND ${FC_MATCH_PROGRAM} -f "%{family}" "Arial Black:bold"
    OUTPUT_VARIABLE DEMO_TITLE_FONT ERROR_QUIET)
  if(DEMO_TITLE_FONT MATCHES "Arial Black")
    message(WARNING "Arial Black is installed: the title models will carry its letter outlines, which "
      "the package's copyright file does not cover. Do not hand out packages built here.")
  endif()
endif()

# Manual pages and the changelog are installed gzipped, as Debian wants them; -n leaves the name
# and time out of the header, so the same text always gives the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(DEMO_GZIPPED_FILES "")
foreach(file ${DEMO_PRODUCT_NAME}.6 ${DEMO_TOOL_PROGRAM}.1 changelog)
  add_custom_command(OUTPUT ${DEMO_PACKAGING_DIR}/${file}.gz
    COMMAND ${GZIP_PROGRAM} -n -9 -f -k ${DEMO_PACKAGING_DIR}/${file}
    DEPENDS ${DEMO_PACKAGING_DIR}/${file}
    VERBATIM)
  list(APPEND DEMO_GZIPPED_FILES ${DEMO_PACKAGING_DIR}/${file}.gz)
endforeach()
add_custom_target(gzipped_documents ALL DEPENDS ${DEMO_GZIPPED_FILES})

install(FILES ${DEMO_PACKAGING_DIR}/${DEMO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DEMO_PACKAGING_DIR}/${DEMO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${DEMO_PACKAGING_DIR}/${DEMO_PRODUCT_NAME}.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${DEMO_PACKAGING_DIR}/${DEMO_TOOL_PROGRAM}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${DEMO_PACKAGING_DIR}/copyright ${DEMO_PACKAGING_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${DEMO_PRODUCT_NAME})

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME ${DEMO_PRODUCT_NAME})
set(CPACK_PACKAGE_VENDOR "Orvo GL")
set(CPACK_PACKAGE_CONTACT "${ORVO_GL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVO_GL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D presentation played in time with its music")
# Lines of the package's long description stay within the width a package manager shows.
set(CPACK_PACKAGE_DESCRIPTION "A self-running 154-second flight over a landscape of palms, windmills
and exploding missiles, then extruded titles over glowing laser lines, drawn
with OpenGL in time with its own music track. Mesa's software renderer is
enough to run it.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are read from the programs' own library needs, not written by hand; those
# lines are added to the ones below. SDL opens libEGL while it runs, which no program links, so
# that one is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl1")
# ffmpeg turns a capture into a video; the presentation plays without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg")
include(CPack)
