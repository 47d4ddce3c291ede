# Debian packages (cpack -G DEB, or the package workflow), one per install
# component:
#   libnuvedbutil0      runtime  the shared libraries
#   libnuvedbutil-dev   dev      headers, static hosts, CMake and pkg-config files
#   edbquery            tool     the command-line program
# Each package's library dependencies come from dpkg-shlibdeps; the
# packages of this project depend on one another at the same version.
set(CPACK_PACKAGE_NAME nuvedbutil)
set(CPACK_PACKAGE_VENDOR "NUVEdbUtil")
set(CPACK_PACKAGE_CONTACT "NUVEdbUtil maintainers <nuvedbutil@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Engineering-database utility library")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL runtime dev tool)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The tool's own libraries are found in the build tree; their dependency is
# the runtime package, named below.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  ${PROJECT_BINARY_DIR}/platform ${PROJECT_BINARY_DIR}/NUVEngSystemDbModeler)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libnuvedbutil${PROJECT_VERSION_MAJOR})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "Engineering-database utility library (shared libraries)
 libNUVEdbUtil and the platform library it runs on, libNUVPlatform.")
# The package with the shared libraries carries a shlibs file, so that
# packages built against them depend on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libnuvedbutil-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DESCRIPTION "Engineering-database utility library (development files)
 Headers, the SQLite and PostgreSQL hosts (static libraries), the CMake
 package (find_package(NUVEdbUtil)) and pkg-config files.")
set(CPACK_COMPONENT_DEV_DEPENDS runtime)
# The CMake package finds SQLite and libpq for the hosts; the hosts are
# static libraries, which dpkg-shlibdeps does not read.
list(JOIN NUV_DEBIAN_HOST_DEPENDS ", " CPACK_DEBIAN_DEV_PACKAGE_DEPENDS)

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME edbquery)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION database)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "Runs a query through the engineering-database utility library
 edbquery runs one statement with named parameters and output bindings on
 a SQLite database or a PostgreSQL server and prints the rows.")
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)

include(CPack)

# The packages' own check (the package workflow runs it after cpack):
# unpacked into a scratch root, they build and run a user's CMake project
# and a program compiled with pkg-config's flags.
option(NUV_CHECK_PACKAGES "Register the test of the built Debian packages" OFF)
if(NUV_CHECK_PACKAGES)
  enable_testing()
  add_test(NAME NUVEdbUtil.DebianPackages
    COMMAND ${PROJECT_SOURCE_DIR}/tests/package/check ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${CMAKE_CXX_COMPILER})
  set_tests_properties(NUVEdbUtil.DebianPackages PROPERTIES LABELS install)
endif()
