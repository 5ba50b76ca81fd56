# Include roots: each library exports a root of its own that holds only its
# own headers, at the path they have in the source tree. mirovax_engine's
# root holds engine/*.h, so its users write #include "engine/solve.h" and
# cannot reach the header of a library they do not link.
#
#   mirovax_export_headers(target [DIRS dir...] [HEADERS file...])
#
# DIRS: folders (from the source root) whose every header is the library's;
# HEADERS: single headers (from the current folder), for a folder that holds
# more than one library. Without either, the current folder's headers.
function(mirovax_export_headers target)
  cmake_parse_arguments(ARG "" "" "DIRS;HEADERS" ${ARGN})
  file(RELATIVE_PATH here ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT ARG_DIRS AND NOT ARG_HEADERS)
    set(ARG_DIRS ${here})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  set(headers)
  foreach(dir IN LISTS ARG_DIRS)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(APPEND headers ${found})
  endforeach()
  foreach(header IN LISTS ARG_HEADERS)
    list(APPEND headers ${CMAKE_CURRENT_SOURCE_DIR}/${header})
  endforeach()
  foreach(header IN LISTS headers)
    file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${header})
    get_filename_component(dir ${path} DIRECTORY)
    file(MAKE_DIRECTORY ${root}/${dir})
    file(CREATE_LINK ${header} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
