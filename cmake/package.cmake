# The release: one zip holding the program and its help file, for Windows users to unpack anywhere.
install(TARGETS Varnedo RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/readme.txt DESTINATION .)
# SHA256SUMS beside the two files, in the form "sha256sum -c" reads, so that anyone can check what
# they unpacked against a build of their own.
install(CODE [[
  set(sums "")
  foreach(name Varnedo.exe readme.txt)
    file(SHA256 "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${name}" hash)
    string(APPEND sums "${hash}  ${name}\n")
  endforeach()
  file(WRITE "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/SHA256SUMS" "${sums}")
]])

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Varnedo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Varnedo-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# Checks the package as a Windows user would get it: the two files and their sums, a 32-bit GUI
# program that imports only DLLs Windows takes from its own folder, and the version 1.0.8.2 in its
# version resource.
add_test(NAME ReleasePackage
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-release.sh ${CMAKE_BINARY_DIR})
set_tests_properties(ReleasePackage PROPERTIES TIMEOUT 120)
# A second build of the program in another folder gives the same bytes (one build of it, 1-2 minutes).
add_test(NAME ReproducibleBuild
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-reproducible.sh ${CMAKE_BINARY_DIR})
set_tests_properties(ReproducibleBuild PROPERTIES TIMEOUT 600)
