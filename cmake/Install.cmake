# What a user gets: the programs, their manual pages, the user documents
# (README, the format guide, the licence) and a few problem files. Tests,
# benchmarks, fuzzers and the developers' guide are never installed.
include(GNUInstallDirs)
set(MG_PACKAGE_NAME matrix-games)
set(MG_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${MG_PACKAGE_NAME})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

set(MG_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/worked.txt ${PROJECT_SOURCE_DIR}/examples/small.txt
                ${PROJECT_SOURCE_DIR}/examples/SystemA.txt ${PROJECT_SOURCE_DIR}/examples/SystemB.txt)
set(MG_PROGRAMS Lorvex Quenby mgame)

if(WIN32)
  # A folder to unpack anywhere: the programs beside the documents, every
  # text with CR LF line ends, the manual pages as plain text.
  find_program(MG_GROFF groff REQUIRED)
  set(text_dir ${PROJECT_BINARY_DIR}/windows-text)
  set(texts README.md=README.txt docs/format.md=docs/format.md LICENSE=LICENSE.txt)
  set(outputs)
  foreach(pair ${texts})
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 from)
    list(GET pair 1 to)
    add_custom_command(OUTPUT ${text_dir}/${to}
                       COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${from} -DOUT=${text_dir}/${to}
                               -P ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake
                       DEPENDS ${PROJECT_SOURCE_DIR}/${from} ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake)
    list(APPEND outputs ${text_dir}/${to})
  endforeach()
  foreach(page ${MG_MANUAL_PAGES})
    add_custom_command(OUTPUT ${text_dir}/man/${page}.txt
                       COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_BINARY_DIR}/man/${page}.1
                               -DOUT=${text_dir}/man/${page}.txt -DROFF=${MG_GROFF}
                               -P ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake
                       DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1 ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake)
    list(APPEND outputs ${text_dir}/man/${page}.txt)
  endforeach()
  add_custom_target(windows-texts ALL DEPENDS ${outputs})
  set(MG_INSTALLED_DOCUMENTS windows-texts)
  install(TARGETS ${MG_PROGRAMS} RUNTIME DESTINATION .)
  install(FILES ${text_dir}/README.txt ${text_dir}/LICENSE.txt DESTINATION .)
  install(FILES ${text_dir}/docs/format.md DESTINATION docs)
  install(DIRECTORY ${text_dir}/man DESTINATION .)
  install(FILES ${MG_EXAMPLES} DESTINATION examples)
else()
  # The licence in Debian's machine-readable copyright format, and the
  # changelog and the manual pages compressed, as Debian expects them.
  file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE licence)
  list(FILTER licence EXCLUDE REGEX "^(MIT License|Copyright .*)$")
  set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
                "Upstream-Name: ${MG_PACKAGE_NAME}\n\n"
                "Files: *\nCopyright: 2026 The Matrix Games developers\nLicense: Expat\n")
  string(JOIN "" copyright ${copyright})
  set(started NO)
  foreach(line IN LISTS licence)
    if(line STREQUAL "" AND NOT started)
      continue()
    endif()
    set(started YES)
    if(line STREQUAL "")
      string(APPEND copyright " .\n")
    else()
      string(APPEND copyright " ${line}\n")
    endif()
  endforeach()
  file(WRITE ${PROJECT_BINARY_DIR}/copyright "${copyright}")

  configure_file(${PROJECT_SOURCE_DIR}/cmake/changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/changelog.gz
                     COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/changelog > ${PROJECT_BINARY_DIR}/changelog.gz
                     DEPENDS ${PROJECT_BINARY_DIR}/changelog)
  set(pages)
  foreach(page ${MG_MANUAL_PAGES})
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.1.gz
                       COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/man/${page}.1 > ${PROJECT_BINARY_DIR}/man/${page}.1.gz
                       DEPENDS ${PROJECT_BINARY_DIR}/man/${page}.1)
    list(APPEND pages ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  endforeach()
  add_custom_target(compressed-documents ALL DEPENDS ${pages} ${PROJECT_BINARY_DIR}/changelog.gz)
  set(MG_INSTALLED_DOCUMENTS compressed-documents)

  install(TARGETS ${MG_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${MG_DOC_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/format.md DESTINATION ${MG_DOC_DIR}/docs)
  install(FILES ${MG_EXAMPLES} DESTINATION ${MG_DOC_DIR}/examples)
endif()

# Packages: a Debian package and a tarball of the installed tree here, a zip
# of the folder for Windows.
set(CPACK_PACKAGE_NAME ${MG_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The Matrix Games developers")
set(CPACK_PACKAGE_CONTACT "The Matrix Games developers <matrix-games@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Lines of at most 80 columns, as Debian wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "Quenby draws a random 6 x 6 matrix game and writes the linear programs of\n"
    "both players. Lorvex solves a linear program by the simplex method on a\n"
    "Big-M tableau in 80-bit extended precision, writes every tableau as a\n"
    "report, and reads the optimum as the value of the game and a player's\n"
    "optimal mixed strategy. mgame, built from the same code, solves a game of\n"
    "one's own in one command, draws a generator's game again from its seed,\n"
    "and runs or checks a problem file.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${MG_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dependencies from the linked libraries
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
  string(TOLOWER "${MG_PACKAGE_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}"
         CPACK_PACKAGE_FILE_NAME)
endif()
include(CPack)
