# Helpers that give every folder the same shape: one static library per
# folder of src/, one test program per folder of tests/, one program per
# benchmark and per fuzz target. Sources are picked up by glob so that a new
# file needs no edit here.

function(kw_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# kw_layer(NAME DIR [EXCLUDE regex] [DEPS ...]) builds src/DIR/*.cpp into a
# static library kw_NAME with src/ as its include root.
function(kw_layer name)
  cmake_parse_arguments(ARG "" "EXCLUDE" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCLUDE}")
  endif()
  if(NOT sources)
    # A layer whose first files have not landed yet still links.
    set(placeholder ${CMAKE_CURRENT_BINARY_DIR}/kw_${name}_placeholder.cpp)
    file(WRITE ${placeholder} "// no sources yet\n")
    set(sources ${placeholder})
  endif()
  add_library(kw_${name} STATIC ${sources})
  target_include_directories(kw_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kw_${name} PUBLIC ${ARG_DEPS})
  kw_warnings(kw_${name})
endfunction()

# kw_tool(NAME [DEPS ...]) builds tools/NAME/*.cpp into the program NAME.
function(kw_tool name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  kw_warnings(${name})
endfunction()

# Adds every direct subfolder of the current folder that has a CMakeLists.txt.
function(kw_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
