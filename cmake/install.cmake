# Installs the presentation as a program of the platform, and packs that install as a .deb and a
# .tar.gz (cpack in the build folder):
#   bin/orvo-gl, bin/orvo-gl-tool        the presentation and its tools program
#   share/orvo-gl/                       the shader files and the baked data/ folder
#   share/applications/orvo-gl.desktop   the desktop entry
#   share/icons/hicolor/256x256/apps/    the icon, painted by the tools program
#   share/man/man6/orvo-gl.6             the manual page
# The tests, the benchmarks and the fuzz targets are not installed.

# The icon is painted by the baker from its own pictures, so no display is needed to make it.
set(DEMO_ICON ${CMAKE_BINARY_DIR}/${DEMO_PRODUCT_NAME}.png)
add_custom_command(OUTPUT ${DEMO_ICON}
  COMMAND $<TARGET_FILE:${DEMO_TOOL_PROGRAM}> icon ${DEMO_ICON}
  DEPENDS ${DEMO_TOOL_PROGRAM}
  COMMENT "Painting the icon ${DEMO_ICON}"
  VERBATIM)
add_custom_target(icon ALL DEPENDS ${DEMO_ICON})

# The programs carry their installed names in the build too; a stripped install (cmake --install
# --strip, and the packages) drops their debug information.
install(TARGETS ${DEMO_PROGRAM} ${DEMO_TOOL_PROGRAM} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${SHADER_FILES} DESTINATION ${DEMO_INSTALL_RESOURCES_DIR})
install(FILES ${DEMO_DATA_OUTPUTS} DESTINATION ${DEMO_INSTALL_RESOURCES_DIR}/data)
# The desktop entry and the manual page name the installed program and its folders.
string(TOUPPER ${DEMO_PRODUCT_NAME} DEMO_PRODUCT_NAME_UPPER)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl.desktop.in ${CMAKE_BINARY_DIR}/${DEMO_PRODUCT_NAME}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/orvo-gl.6.in ${CMAKE_BINARY_DIR}/${DEMO_PRODUCT_NAME}.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${DEMO_PRODUCT_NAME}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DEMO_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_BINARY_DIR}/${DEMO_PRODUCT_NAME}.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_NAME ${DEMO_PRODUCT_NAME})
set(CPACK_PACKAGE_VENDOR "Orvo GL")
set(CPACK_PACKAGE_CONTACT "Orvo GL developers <developers@orvo-gl.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time 3D presentation played in time with its music")
# Lines of the package's long description stay within the width a package manager shows.
set(CPACK_PACKAGE_DESCRIPTION "A self-running 154-second flight over a landscape of palms, windmills
and exploding missiles, then extruded titles over glowing laser lines, drawn
with OpenGL in time with its own music track. Mesa's software renderer is
enough to run it.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are read from the programs' own library needs, not written by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
