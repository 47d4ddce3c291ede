# A host library: a static library of the host's src/*.cpp, its public
# headers in include/ (installed under include/<target>), the host's sample
# SQL compiled in from sample/sample.sql through the given template (which
# names it @NUV_SAMPLE_SQL@), linked to the library, the common host code
# and the host's own database client library.
function(nuv_host_library target sample_template client)
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
