# What a user gets: the three programs, their manual pages, the README and a
# few problem files. Tests, benchmarks and fuzzers are never installed.
include(GNUInstallDirs)
set(MG_PACKAGE_NAME matrix-games)
set(MG_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${MG_PACKAGE_NAME})

set(MG_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/worked.txt ${PROJECT_SOURCE_DIR}/examples/small.txt
                ${PROJECT_SOURCE_DIR}/examples/SystemA.txt ${PROJECT_SOURCE_DIR}/examples/SystemB.txt)

if(WIN32)
  # A folder to unpack anywhere: the programs beside the README and examples.
  install(TARGETS Lorvex Quenby mgame RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
  install(FILES ${MG_EXAMPLES} DESTINATION examples)
else()
  install(TARGETS Lorvex Quenby mgame RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/man/Lorvex.1 ${PROJECT_BINARY_DIR}/man/Quenby.1 ${PROJECT_BINARY_DIR}/man/mgame.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${MG_DOC_DIR})
  install(FILES ${MG_EXAMPLES} DESTINATION ${MG_DOC_DIR}/examples)
endif()

# Packages: a Debian package and a tarball of the installed tree here, a zip
# of the folder for Windows.
set(CPACK_PACKAGE_NAME ${MG_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The matrix games team")
set(CPACK_PACKAGE_CONTACT "The matrix games team <matrix-games@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Quenby draws a random 6 x 6 matrix game and writes the linear programs of both players; Lorvex solves\
 a linear program by the simplex method on a Big-M tableau in 80-bit extended precision, writes every\
 tableau as a report, and reads the optimum as the value of the game and a player's optimal mixed strategy;\
 mgame draws, solves and checks games and problems from the command line with the same code.")
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
