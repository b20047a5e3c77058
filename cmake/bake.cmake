# Bakes the data folder into the runnable folder with the tools program, after it is built and
# again whenever it changes. The list names every file the bake writes, so a missing one is
# made again too.
set(DEMO_DATA_FILES
  palm02.3ds palmbark.jpg palmleaf.jpg
  windmill_body.3ds windmill_wings.3ds windmill.jpg
  rocketlauncher.3ds launcher.jpg
  missile.3ds missile.jpg
  sky.3ds sky.jpg
  text1.3ds text2.3ds text3.3ds text4.3ds textmetal.jpg
  heightmap.jpg terraintexture.jpg height2.jpg
  smoke.jpg smokealpha.jpg BlueBubble.jpg YellowBubble.jpg redBubble.jpg star.jpg flare.jpg explodeparticle.jpg
  linevol_contours.jpg linevol_enamels.jpg linevol_redlaser.jpg linevol_blueglow.jpg
  linevol_bluethunder.jpg linevol_glass.jpg linevol_firespiral.jpg
  Vallomere.mp3)

set(DEMO_DATA_DIR ${RUN_DIR}/data)
set(DEMO_DATA_OUTPUTS "")
foreach(file ${DEMO_DATA_FILES})
  list(APPEND DEMO_DATA_OUTPUTS ${DEMO_DATA_DIR}/${file})
endforeach()

add_custom_command(OUTPUT ${DEMO_DATA_OUTPUTS}
  COMMAND $<TARGET_FILE:${DEMO_TOOL_PROGRAM}> bake ${DEMO_DATA_DIR}
  DEPENDS ${DEMO_TOOL_PROGRAM}
  COMMENT "Baking the data folder into ${DEMO_DATA_DIR}"
  VERBATIM)
add_custom_target(data ALL DEPENDS ${DEMO_DATA_OUTPUTS})
