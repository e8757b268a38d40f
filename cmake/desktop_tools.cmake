# SPDX-License-Identifier: GPL-3.0-or-later
# A build for another platform (the browser's, Windows') has no FreeType or
# fontconfig: it takes its glyphs and icons from a desktop build's programs,
# guardianes-bake-glyphs and guardianes-icon, so that its pixels are the
# desktop's. guardianes_desktop_tools(WHAT SCRIPT) checks that both were
# given (WHAT names the build, SCRIPT the script that passes them) and bakes
# the glyphs into baked_glyphs.cpp of the calling folder's build, whose path
# it sets in `glyphs`.
function(guardianes_desktop_tools what script)
  set(GUARDIANES_BAKE_GLYPHS "" CACHE FILEPATH "guardianes-bake-glyphs from a desktop build, to bake the glyphs")
  set(GUARDIANES_ICON "" CACHE FILEPATH "guardianes-icon from a desktop build, to paint the icons")
  foreach(program IN ITEMS GUARDIANES_BAKE_GLYPHS GUARDIANES_ICON)
    if(NOT EXISTS "${${program}}")
      message(FATAL_ERROR "${what} takes its glyphs and icons from a desktop build's programs: build "
                          "guardianes-bake-glyphs and guardianes-icon first and pass "
                          "-DGUARDIANES_BAKE_GLYPHS=PATH -DGUARDIANES_ICON=PATH (${script} does both)")
    endif()
  endforeach()
  set(source ${CMAKE_CURRENT_BINARY_DIR}/baked_glyphs.cpp)
  add_custom_command(OUTPUT ${source}
                     COMMAND ${GUARDIANES_BAKE_GLYPHS} --cpp ${source}
                     DEPENDS ${GUARDIANES_BAKE_GLYPHS}
                     COMMENT "Baking the glyphs")
  set(glyphs ${source} PARENT_SCOPE)
endfunction()
