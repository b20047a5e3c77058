# The web edition: the presentation built with emscripten's toolchain for a browser with WebGL 2,
# against the libraries scripts/build-web-libraries.sh built into DEMO_WEB_PREFIX. The site folder
# (RUN_DIR) gets the page, the program's .js and .wasm, the shader files and the bundled font; the
# build script adds the data folder the desktop build baked.

set(DEMO_WEB_PREFIX "" CACHE PATH "Folder holding the web edition's libraries (include/, lib/)")
if(NOT DEMO_WEB_PREFIX OR NOT IS_DIRECTORY ${DEMO_WEB_PREFIX}/lib)
  message(FATAL_ERROR "DEMO_WEB_PREFIX must name the folder scripts/build-web-libraries.sh built the libraries into")
endif()

# Desktop files with no counterpart on the web: the fixed-function back end and covering the
# display by hand are the desktop's own; child processes and stop signals have web files of their
# own beside these (NAME_web.cpp). The rest of the desktop-only GL (GLU's mipmaps, reading textures
# back, separable programs, the GL's debug messages) is in NAME_desktop.cpp files.
set(DEMO_DESKTOP_ONLY_SOURCES
  gpu/draw_layer_fixed_function.cpp
  platform/child_process.cpp
  platform/stop_signals.cpp
  platform/native_window_cover.cpp
  platform/x_display.cpp)
foreach(source ${DEMO_DESKTOP_ONLY_SOURCES})
  list(REMOVE_ITEM DEMO_SOURCES ${CMAKE_SOURCE_DIR}/${source})
endforeach()
# The web's child process starts nothing, so the fields that track a started one stay unused.
set_property(SOURCE platform/child_process_web.cpp APPEND PROPERTY COMPILE_OPTIONS -Wno-unused-private-field)

# Linked by full path, in the order they need each other: a -l name such as SDL2_mixer would make
# emscripten fetch a port of its own, which it cannot do here.
set(DEMO_WEB_ARCHIVES SDL2 freetype tiff jpeg png gif GLU z)
add_library(web_libraries INTERFACE)
foreach(archive ${DEMO_WEB_ARCHIVES})
  set(path ${DEMO_WEB_PREFIX}/lib/lib${archive}.a)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} is missing: run scripts/build-web-libraries.sh")
  endif()
  target_link_libraries(web_libraries INTERFACE ${path})
endforeach()
target_include_directories(web_libraries INTERFACE ${DEMO_WEB_PREFIX}/include ${DEMO_WEB_PREFIX}/include/SDL2
  ${DEMO_WEB_PREFIX}/include/freetype2)
# USE_SDL defaults to SDL 1, emscripten's own; the SDL 2 built above is the one linked.
target_compile_options(web_libraries INTERFACE -sUSE_SDL=0)
# The sound output's page half, which platform/mixer_web.cpp calls.
set(DEMO_WEB_JS_LIBRARIES ${CMAKE_SOURCE_DIR}/web/audio_library.js)
# A WebGL 2 context only; memory grows with the data; every symbol must be found at link time,
# so that desktop GL left in the program shows here rather than in the browser. The page fills
# the file system before main runs.
target_link_options(web_libraries INTERFACE -sUSE_SDL=0 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
  -sALLOW_MEMORY_GROWTH=1 -sERROR_ON_UNDEFINED_SYMBOLS=1 -sFORCE_FILESYSTEM=1
  -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
  --js-library ${DEMO_WEB_JS_LIBRARIES})

# The title models' font: DejaVu Sans Bold, as on a Debian desktop, with its licence.
set(DEMO_WEB_FONT /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
set(DEMO_WEB_FONT_LICENCE /usr/share/doc/fonts-dejavu-core/copyright)
foreach(file ${DEMO_WEB_FONT} ${DEMO_WEB_FONT_LICENCE})
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} is missing: install fonts-dejavu-core")
  endif()
endforeach()

# The program's page and files in the site folder.
function(add_web_page program)
  set_target_properties(${program} PROPERTIES SUFFIX .js LINK_DEPENDS "${DEMO_WEB_JS_LIBRARIES}")
  set(outputs ${RUN_DIR}/index.html ${RUN_DIR}/fonts/DejaVuSans-Bold.ttf ${RUN_DIR}/fonts/LICENSE-DejaVu.txt)
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/web/index.html ${RUN_DIR}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DEMO_WEB_FONT} ${RUN_DIR}/fonts/DejaVuSans-Bold.ttf
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${DEMO_WEB_FONT_LICENCE} ${RUN_DIR}/fonts/LICENSE-DejaVu.txt
    DEPENDS ${CMAKE_SOURCE_DIR}/web/index.html
    VERBATIM)
  add_custom_target(web_page ALL DEPENDS ${outputs})
endfunction()
