# The core is one static library per folder of src/, each linking the folders its sources
# include: PUBLIC when its headers include them, PRIVATE when only its .cpp files do. The link
# graph is the layer graph of the program (each line names what a folder links):
#
#   platform, form                          the bottom: no other folder
#   state                                   form platform
#   server                                  platform
#   settings                                form state
#   registry, maps, teams, plugin           form platform state
#   changes                                 state
#   check                                   platform (maps state inside)
#   modini                                  form maps state teams
#   scripts                                 form platform plugin state
#   app                                     every folder above (modini and server inside)
#   ui (Qt)                                 app and the folders its windows show
#
# The build checks each folder's includes against these links (tolvane_check_layer_includes).

# What every library and program of the build shares: the include root, the Windows
# definitions and the sanitizer and fuzzer instrumentation. Each core library links it
# PUBLIC, so a program linking any of them is built the same way.
add_library(tolvane_options INTERFACE)
target_include_directories(tolvane_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(WIN32)
  # windows.h must not define min and max over std::min and std::numeric_limits::max.
  target_compile_definitions(tolvane_options INTERFACE NOMINMAX)
endif()
if(TOLVANE_SANITIZE)
  target_compile_options(tolvane_options INTERFACE -fsanitize=address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tolvane_options INTERFACE -fsanitize=address,undefined)
endif()
if(TOLVANE_FUZZ_ACTIVE)
  # Coverage for libFuzzer and the sanitizers, so that a fault stops the run where it happens.
  target_compile_options(tolvane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                         -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(tolvane_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
endif()

# tolvane_library(NAME SOURCES a.cpp ... [PUBLIC lib ...] [PRIVATE lib ...])
# Makes the static library tolvane_NAME of the calling folder's sources.
function(tolvane_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  if(NOT ARG_SOURCES)
    message(FATAL_ERROR "tolvane_library(${name}): no SOURCES given")
  endif()
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tolvane_library(${name}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  add_library(tolvane_${name} STATIC ${ARG_SOURCES})
  target_link_libraries(tolvane_${name} PUBLIC tolvane_options ${ARG_PUBLIC})
  if(ARG_PRIVATE)
    target_link_libraries(tolvane_${name} PRIVATE ${ARG_PRIVATE})
  endif()
  tolvane_check_layer_includes(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# Before tolvane_NAME is compiled, and again whenever a file of its folder changes, its
# includes are checked against the core libraries it links (cmake/CheckLayerIncludes.cmake).
# Other libraries (Qt, libzip) are not folders of src/ and are left out of the check.
function(tolvane_core_folders out)
  set(dirs)
  foreach(lib ${ARGN})
    string(REGEX REPLACE "^tolvane_" "" dir "${lib}")
    if(NOT dir STREQUAL lib AND IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${dir})
      list(APPEND dirs ${dir})
    endif()
  endforeach()
  # A comma list: a semicolon would split the command's argument.
  list(JOIN dirs "," dirs)
  set(${out} "${dirs}" PARENT_SCOPE)
endfunction()

function(tolvane_check_layer_includes name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  tolvane_core_folders(public ${ARG_PUBLIC})
  tolvane_core_folders(private ${ARG_PRIVATE})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}-layers.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_CURRENT_SOURCE_DIR} -DPUBLIC=${public}
            -DPRIVATE=${private} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckLayerIncludes.cmake
    COMMENT "Checking the includes of src/${name} against its links" VERBATIM)
  add_custom_target(tolvane_${name}_layers DEPENDS ${stamp})
  add_dependencies(tolvane_${name} tolvane_${name}_layers)
endfunction()
