# The API reference (target docs): Doxygen over the public headers of the
# library, the hosts and the platform stand-in, into <build>/html.
# Warnings are errors.
option(NUV_BUILD_DOCS "Add the docs target (needs Doxygen)" OFF)
if(NUV_BUILD_DOCS)
  find_package(Doxygen REQUIRED)
  set(NUV_DOCS_OUTPUT ${PROJECT_BINARY_DIR})
  configure_file(${PROJECT_SOURCE_DIR}/docs/api/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${NUV_DOCS_OUTPUT}/html
    COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    COMMENT "API reference into ${NUV_DOCS_OUTPUT}/html"
    VERBATIM)
endif()
