# The layer check of the build (cmake/CheckLayerIncludes.cmake) on folders made for the purpose:
# it passes includes that follow the links and stops at each kind of mismatch.
#   cmake -DSOURCE_DIR=... -DWORK=... -P check_layer_includes_test.cmake
set(check ${SOURCE_DIR}/cmake/CheckLayerIncludes.cmake)
file(REMOVE_RECURSE "${WORK}")

# Writes folder WORK/<name> with a header and a source holding the given includes.
function(make_folder name header_includes source_includes)
  set(dir ${WORK}/${name})
  file(MAKE_DIRECTORY ${dir}/sub)
  set(h "#pragma once\n")
  foreach(inc ${header_includes})
    string(APPEND h "#include \"${inc}\"\n")
  endforeach()
  file(WRITE ${dir}/Thing.h "${h}#include \"${name}/Other.h\"\n")
  set(c "#include \"${name}/Thing.h\"\n#include <vector>\n")
  foreach(inc ${source_includes})
    string(APPEND c "  #  include \"${inc}\"\n")
  endforeach()
  file(WRITE ${dir}/sub/Thing.cpp "${c}")
endfunction()

# Runs the check; `want` is PASS or the text the failure must name.
function(expect name public private want)
  execute_process(COMMAND ${CMAKE_COMMAND} -DFOLDER=${WORK}/${name} -DPUBLIC=${public}
                          -DPRIVATE=${private} -DSTAMP=${WORK}/${name}.stamp -P ${check}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(want STREQUAL "PASS")
    if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/${name}.stamp)
      message(FATAL_ERROR "${name}: the check refused includes that follow the links:\n${err}")
    endif()
  elseif(rc EQUAL 0)
    message(FATAL_ERROR "${name}: the check passed; it should have named \"${want}\"")
  else()
    string(REPLACE "\n" " " flat "${err}")
    string(REGEX REPLACE " +" " " flat "${flat}")
    string(FIND "${flat}" "${want}" at)
    if(at LESS 0)
      message(FATAL_ERROR "${name}: the failure does not name \"${want}\":\n${err}")
    endif()
  endif()
endfunction()

# Headers include PUBLIC folders, sources (in a subfolder too, indented) PRIVATE ones.
make_folder(good "form/A.h" "maps/B.h;form/C.h")
expect(good "form" "maps" PASS)
# An include of a folder the library does not link.
make_folder(unlinked "form/A.h" "teams/B.h")
expect(unlinked "form" "" "includes teams/, which tolvane_unlinked does not link")
# A header including a folder linked PRIVATE only.
make_folder(private "maps/A.h" "")
expect(private "" "maps" "(a header) includes maps/, which tolvane_private links PRIVATE only")
# Links nothing includes, PUBLIC or PRIVATE.
make_folder(unused "form/A.h" "")
expect(unused "form,state" "" "links tolvane_state PUBLIC, but no header of src/unused includes it")
expect(unused "form" "maps" "links tolvane_maps, but nothing in src/unused includes it")
file(REMOVE_RECURSE "${WORK}")
