# Include roots: each library exports a root of its own that holds only its
# own headers, at the path they have in the source tree. mirovax_engine's
# root holds engine/*.h, so its users write #include "engine/solve.h" and
# cannot reach the header of a library they do not link. A library is the
# headers of one directory (not its subdirectories); the root links to them.
function(mirovax_export_headers target)
  file(RELATIVE_PATH dir ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${dir})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${dir}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
