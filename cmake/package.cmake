# The release: one zip holding the program and its help file, for Windows users to unpack anywhere.
install(TARGETS Varnedo RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/readme.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Varnedo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Varnedo-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# Checks the package as a Windows user would get it: the two files, a 32-bit GUI program that needs
# no DLL beyond Windows' own, and the version 1.0.8.2 in its version resource.
add_test(NAME ReleasePackage
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-release.sh ${CMAKE_BINARY_DIR})
set_tests_properties(ReleasePackage PROPERTIES TIMEOUT 120)
