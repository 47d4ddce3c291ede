# Install rules, in three components:
#   runtime  the shared libraries (libNUVPlatform.so.0, libNUVEdbUtil.so.0)
#   dev      headers, the static host libraries, the unversioned library
#            links, the CMake package and the pkg-config files
#   tool     edbquery
# Users of the targets compile as C++20.
include(CMakePackageConfigHelpers)

# The shared libraries' file names and SONAMEs carry the major version: a
# program linked against 0.x runs with any later 0.y.
set_target_properties(NUVPlatform NUVEdbUtil PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

# The hosts this build holds (nuv_add_host), each with what finds its
# database client again.
get_property(nuv_hosts GLOBAL PROPERTY NUV_BUILT_HOSTS)

foreach(target NUVPlatform NUVEdbUtil NUVHostCommon ${nuv_hosts})
  target_compile_features(${target} PUBLIC cxx_std_20)
endforeach()
# An installed static library keeps ordinary object code beside the
# link-time code, so that any compiler links it.
if(CMAKE_INTERPROCEDURAL_OPTIMIZATION)
  foreach(target NUVHostCommon ${nuv_hosts})
    target_compile_options(${target} PRIVATE -ffat-lto-objects)
  endforeach()
endif()

install(TARGETS NUVPlatform NUVEdbUtil NUVHostCommon ${nuv_hosts} EXPORT NUVEdbUtilTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
install(DIRECTORY platform/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/NUVPlatform COMPONENT dev)
install(DIRECTORY NUVEngSystemDbModeler/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/NUVEngSystemDbModeler COMPONENT dev)
install(DIRECTORY host/common/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/NUVHostCommon COMPONENT dev)
set(NUV_HOST_DEPENDENCIES "")
set(NUV_DEBIAN_HOST_DEPENDS "")
foreach(target ${nuv_hosts})
  get_property(dir GLOBAL PROPERTY NUV_HOST_${target}_DIR)
  get_property(package GLOBAL PROPERTY NUV_HOST_${target}_PACKAGE)
  get_property(debian GLOBAL PROPERTY NUV_HOST_${target}_DEBIAN)
  install(DIRECTORY ${dir}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${target} COMPONENT dev)
  string(APPEND NUV_HOST_DEPENDENCIES "find_dependency(${package})\n")
  list(APPEND NUV_DEBIAN_HOST_DEPENDS ${debian})
endforeach()
if(TARGET edbquery)
  install(TARGETS edbquery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)
endif()

# The CMake package: find_package(NUVEdbUtil 0.1) accepts any 0.y from 0.1 on.
set(nuv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/NUVEdbUtil)
install(EXPORT NUVEdbUtilTargets NAMESPACE NUVEdbUtil:: DESTINATION ${nuv_cmake_dir} COMPONENT dev)
configure_package_config_file(cmake/NUVEdbUtilConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/NUVEdbUtilConfig.cmake INSTALL_DESTINATION ${nuv_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/NUVEdbUtilConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/NUVEdbUtilConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/NUVEdbUtilConfigVersion.cmake
  DESTINATION ${nuv_cmake_dir} COMPONENT dev)

# pkg-config: one file per library in <libdir>/pkgconfig, named as the
# library. The prefix is found from the file's own place, so that an
# install under any prefix (or a package unpacked under another root) is
# found through PKG_CONFIG_PATH as it lies. The hosts are static
# libraries: their database client comes with `pkg-config --static`.
set(nuv_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH nuv_pc_prefix_from_pcfiledir /${nuv_pc_dir} /)
string(REGEX REPLACE "/$" "" nuv_pc_prefix_from_pcfiledir "${nuv_pc_prefix_from_pcfiledir}")
function(nuv_pkg_config name description include requires requires_private)
  set(nuv_pc_name ${name})
  set(nuv_pc_description "${description}")
  set(nuv_pc_include ${include})
  set(nuv_pc_requires "${requires}")
  set(nuv_pc_requires_private "${requires_private}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/NUVLibrary.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${name}.pc DESTINATION ${nuv_pc_dir} COMPONENT dev)
endfunction()
nuv_pkg_config(NUVPlatform "The platform stand-in NUVEdbUtil runs on" NUVPlatform "" "")
nuv_pkg_config(NUVEdbUtil "Engineering-database utility library: typed values, named SQL parameters, result tables, output bindings"
  NUVEngSystemDbModeler NUVPlatform "")
nuv_pkg_config(NUVHostCommon "What every NUVEdbUtil host shares (static)" NUVHostCommon NUVEdbUtil "")
foreach(target ${nuv_hosts})
  get_property(description GLOBAL PROPERTY NUV_HOST_${target}_DESCRIPTION)
  get_property(client GLOBAL PROPERTY NUV_HOST_${target}_PKG_CONFIG)
  nuv_pkg_config(${target} "${description}" ${target} "NUVHostCommon NUVEdbUtil" ${client})
endforeach()

# Packages only for a build of this project itself: a project that takes
# the source tree in with add_subdirectory packages as it chooses.
if(PROJECT_IS_TOP_LEVEL)
  include(cmake/NUVDebianPackages.cmake)
endif()
