# Installation: a self-contained program directory, links on the path, the
# desktop integration and the documentation, then the Debian package.
#
# Every data file is looked for beside the executable, so the executables,
# the two tables and the help file go together into lib/mirovax; bin holds
# relative links into it. The programs resolve their own path through
# /proc/self/exe, so a link finds the tables of the directory it points to.
#
# Included at the end of the top-level CMakeLists.txt, when every target that
# may be installed has been defined.

include(GNUInstallDirs)

# Not CMAKE_INSTALL_LIBDIR: a program's private directory has no multiarch
# part (/usr/lib/mirovax, not /usr/lib/x86_64-linux-gnu/mirovax).
set(MIROVAX_PROGRAM_DIR lib/mirovax)
set(MIROVAX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(MIROVAX_PACKAGING_BINARY_DIR ${CMAKE_BINARY_DIR}/packaging)
set(MIROVAX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/mirovax)

# The programs that exist in this build, and the ones a user starts by name.
set(MIROVAX_INSTALLED_PROGRAMS)
set(MIROVAX_LINKED_PROGRAMS)
foreach(program mirovax mirovax-cli mirovax-tables)
  if(TARGET ${program})
    list(APPEND MIROVAX_INSTALLED_PROGRAMS ${program})
    list(APPEND MIROVAX_LINKED_PROGRAMS ${program})
  endif()
endforeach()

if(MIROVAX_INSTALLED_PROGRAMS)
  install(TARGETS ${MIROVAX_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${MIROVAX_PROGRAM_DIR})
  # A stripped install (the package) also drops the compiler's notes, as
  # Debian's own packaging tools do.
  if(CMAKE_STRIP)
    foreach(program IN LISTS MIROVAX_INSTALLED_PROGRAMS)
      install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
          execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${MIROVAX_PROGRAM_DIR}/${program}\"
                          COMMAND_ERROR_IS_FATAL ANY)
        endif()
      ")
    endforeach()
  endif()
endif()

# The files the build writes beside the executables, each guarded by the
# target that writes it.
if(TARGET mirovax_tables_data)
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Airplane.DB ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Airports.DB
          DESTINATION ${MIROVAX_PROGRAM_DIR})
endif()
if(TARGET mirovax)
  # The window's build copies the help file beside it.
  install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/MRX_HELP.hlp DESTINATION ${MIROVAX_PROGRAM_DIR} OPTIONAL)
endif()

# Relative links, made at install time under DESTDIR, so that the installed
# tree can be moved or packaged as it is.
foreach(program IN LISTS MIROVAX_LINKED_PROGRAMS)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    message(STATUS \"Installing: \${link} -> ../${MIROVAX_PROGRAM_DIR}/${program}\")
    file(CREATE_LINK \"../${MIROVAX_PROGRAM_DIR}/${program}\" \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
  ")
endforeach()

# Desktop entry, setup-file type and icons: only with the window.
if(TARGET mirovax)
  install(FILES ${MIROVAX_PACKAGING_DIR}/desktop/mirovax.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${MIROVAX_PACKAGING_DIR}/desktop/mirovax.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${MIROVAX_PACKAGING_DIR}/icons/mirovax-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME mirovax.png)
  endforeach()
  install(FILES ${MIROVAX_PACKAGING_DIR}/icons/mirovax.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # The software centres' entry: its release is the project's version on the
  # date of the changelog's newest entry, and its file is named after its id.
  file(STRINGS ${MIROVAX_PACKAGING_DIR}/debian/changelog MIROVAX_CHANGELOG_TRAILER REGEX "^ -- " LIMIT_COUNT 1)
  if(NOT MIROVAX_CHANGELOG_TRAILER MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/debian/changelog: no date in \"${MIROVAX_CHANGELOG_TRAILER}\"")
  endif()
  set(MIROVAX_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(FIND MIROVAX_MONTHS ${CMAKE_MATCH_2} month)
  math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
  string(LENGTH ${month} digits)
  if(digits EQUAL 1)
    set(month 0${month})
  endif()
  set(MIROVAX_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
  set(MIROVAX_METAINFO ${MIROVAX_PACKAGING_BINARY_DIR}/invalid.mirovax.mirovax.metainfo.xml)
  configure_file(${MIROVAX_PACKAGING_DIR}/metainfo/mirovax.metainfo.xml.in ${MIROVAX_METAINFO} @ONLY)
  install(FILES ${MIROVAX_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  if(MIROVAX_BUILD_TESTS)
    find_program(APPSTREAMCLI_EXECUTABLE appstreamcli)
    if(APPSTREAMCLI_EXECUTABLE)
      add_test(NAME metainfo_valid COMMAND ${APPSTREAMCLI_EXECUTABLE} validate --no-net --explain ${MIROVAX_METAINFO})
    else()
      message(WARNING "appstreamcli not found: the software centres' entry is not validated (scripts/install-deps.sh test installs it)")
      add_test(NAME metainfo_valid COMMAND ${CMAKE_COMMAND} -E echo
               "skipped: appstreamcli is not installed (package appstream); the metainfo is not validated")
      set_tests_properties(metainfo_valid PROPERTIES SKIP_REGULAR_EXPRESSION "^skipped: ")
    endif()
    set_tests_properties(metainfo_valid PROPERTIES LABELS install)
  endif()
endif()

# Manual pages and the package's changelog, compressed as Debian wants them:
# gzip -9 without name and time stamp, so that the package is reproducible.
find_program(MIROVAX_GZIP gzip REQUIRED)
set(MIROVAX_COMPRESSED_DOCS)
function(mirovax_gzip_doc source output)
  get_filename_component(plain ${output} NAME_WLE)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${dir}/${plain}
    COMMAND ${MIROVAX_GZIP} -9nf ${dir}/${plain}
    DEPENDS ${source}
    COMMENT "Compressing ${plain}"
    VERBATIM)
  set(MIROVAX_COMPRESSED_DOCS ${MIROVAX_COMPRESSED_DOCS} ${output} PARENT_SCOPE)
endfunction()

foreach(program IN LISTS MIROVAX_LINKED_PROGRAMS)
  mirovax_gzip_doc(${MIROVAX_PACKAGING_DIR}/man/${program}.1 ${MIROVAX_PACKAGING_BINARY_DIR}/man/${program}.1.gz)
  install(FILES ${MIROVAX_PACKAGING_BINARY_DIR}/man/${program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The package's version comes from the project; its changelog must agree.
file(STRINGS ${MIROVAX_PACKAGING_DIR}/debian/changelog MIROVAX_CHANGELOG_HEAD LIMIT_COUNT 1)
if(NOT MIROVAX_CHANGELOG_HEAD MATCHES "^mirovax \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog starts with \"${MIROVAX_CHANGELOG_HEAD}\"; "
                      "add an entry for version ${PROJECT_VERSION}")
endif()
mirovax_gzip_doc(${MIROVAX_PACKAGING_DIR}/debian/changelog ${MIROVAX_PACKAGING_BINARY_DIR}/doc/changelog.gz)
add_custom_target(mirovax_docs ALL DEPENDS ${MIROVAX_COMPRESSED_DOCS})

install(FILES ${MIROVAX_PACKAGING_DIR}/debian/copyright ${MIROVAX_PACKAGING_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${MIROVAX_DOC_DIR})
# What lintian reports about the package and is so by design, with the reason.
install(FILES ${MIROVAX_PACKAGING_DIR}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME mirovax)

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
