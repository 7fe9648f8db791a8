# The Windows package: cpack in the build folder makes Dreel-<version>-windows-x64.zip,
# one folder holding both programs, the data, a short README and the licences of what
# the programs carry (the libraries linked in, the font, the compiler's thread library).
configure_file("${CMAKE_CURRENT_LIST_DIR}/README.txt" "${CMAKE_CURRENT_BINARY_DIR}/README.txt"
               @ONLY NEWLINE_STYLE WIN32)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
install(DIRECTORY "${DREEL_WINDOWS_PREFIX}/licenses/" DESTINATION licenses)
install(FILES /usr/share/doc/fonts-dejavu-core/copyright DESTINATION licenses RENAME DejaVu-fonts.txt)
install(FILES /usr/share/doc/mingw-w64-common/copyright DESTINATION licenses RENAME mingw-w64.txt)

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Dreel)
set(CPACK_PACKAGE_VENDOR "The Dreel developers")
set(CPACK_PACKAGE_FILE_NAME "Dreel-${PROJECT_VERSION}-windows-x64")
set(CPACK_STRIP_FILES ON)
include(CPack)
