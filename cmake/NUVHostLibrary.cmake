# A host library: a static library of the host's src/*.cpp, its public
# headers in include/ (installed under include/<target>), the host's sample
# SQL compiled in from sample/sample.sql through the given template (which
# names it @NUV_SAMPLE_SQL@), linked to the library, the common host code
# and the host's own database client library. What the install needs to
# find that client again: PACKAGE (find_package's name), PKG_CONFIG (its
# pkg-config module), DEBIAN (its -dev package) and DESCRIPTION (the
# pkg-config file's).
function(nuv_host_library target sample_template client)
  cmake_parse_arguments(PARSE_ARGV 3 host "" "PACKAGE;PKG_CONFIG;DEBIAN;DESCRIPTION" "")
  set_property(GLOBAL PROPERTY NUV_HOST_${target}_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(GLOBAL PROPERTY NUV_HOST_${target}_PACKAGE ${host_PACKAGE})
  set_property(GLOBAL PROPERTY NUV_HOST_${target}_PKG_CONFIG ${host_PKG_CONFIG})
  set_property(GLOBAL PROPERTY NUV_HOST_${target}_DEBIAN ${host_DEBIAN})
  set_property(GLOBAL PROPERTY NUV_HOST_${target}_DESCRIPTION "${host_DESCRIPTION}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/sample/sample.sql)
  file(READ ${CMAKE_CURRENT_SOURCE_DIR}/sample/sample.sql NUV_SAMPLE_SQL)
  get_filename_component(sample_source ${sample_template} NAME_WLE)
  configure_file(${sample_template} ${CMAKE_CURRENT_BINARY_DIR}/${sample_source} @ONLY)

  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${target} STATIC ${sources} ${CMAKE_CURRENT_BINARY_DIR}/${sample_source})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:include/${target}>
    PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC NUVEdbUtil NUVHostCommon
    PRIVATE ${client} $<BUILD_INTERFACE:nuv_warnings>)
endfunction()

# A host behind its own option (ON by default): nuv_add_host(<folder>
# <option> <target> <doc>) adds host/<folder> when the option is on. Either
# way the host's include/<target>Plugin.h (which needs no database client)
# gives its name and the targets it claims, so that a build without it can
# say so; a built host registers itself through <target>Register().
function(nuv_add_host folder option target doc)
  option(${option} "${doc}" ON)
  if(${option})
    add_subdirectory(${PROJECT_SOURCE_DIR}/host/${folder})
    set_property(GLOBAL APPEND PROPERTY NUV_BUILT_HOSTS ${target})
    set_property(GLOBAL APPEND PROPERTY NUV_HOST_REGISTRATIONS "${target}Register()")
  else()
    set_property(GLOBAL APPEND PROPERTY NUV_HOST_REGISTRATIONS
      "NUVHostRegistry::Register(${target}Description())")
  endif()
  set_property(GLOBAL APPEND PROPERTY NUV_HOST_INCLUDES ${PROJECT_SOURCE_DIR}/host/${folder}/include)
  set_property(GLOBAL APPEND PROPERTY NUV_HOST_HEADERS "#include \"${target}Plugin.h\"")
endfunction()

# NUVHostPlugins: the one explicit call (NUVRegisterHosts, declared in
# NUVHostRegistry.h) that registers every host of the build, generated
# after the last nuv_add_host. Calling the hosts' registration functions
# by name links their objects in, which a static library's unreferenced
# registration object would not be.
function(nuv_host_plugins)
  get_property(hosts GLOBAL PROPERTY NUV_BUILT_HOSTS)
  get_property(includes GLOBAL PROPERTY NUV_HOST_INCLUDES)
  get_property(headers GLOBAL PROPERTY NUV_HOST_HEADERS)
  get_property(registrations GLOBAL PROPERTY NUV_HOST_REGISTRATIONS)
  list(JOIN headers "\n" NUV_HOST_HEADERS)
  list(JOIN registrations ";\n    " NUV_HOST_REGISTRATIONS)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/NUVHostPlugins.cpp.in ${PROJECT_BINARY_DIR}/NUVHostPlugins.cpp @ONLY)
  add_library(NUVHostPlugins STATIC ${PROJECT_BINARY_DIR}/NUVHostPlugins.cpp)
  target_include_directories(NUVHostPlugins PRIVATE ${includes})
  target_link_libraries(NUVHostPlugins PUBLIC NUVHostCommon ${hosts} PRIVATE nuv_warnings)
endfunction()
