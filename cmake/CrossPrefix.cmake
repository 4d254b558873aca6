# The build's own prefix of target libraries for a cross build to Windows,
# inside the build folder: GoogleTest built from the sources of Debian's
# googletest package with the same toolchain, and the header-only CLI11 with
# its package configuration. The host's CLI11 configuration cannot be used
# there: it would put the host's /usr/include on the target's include path.
#
# Filled at configure time, again only when what it is built from changes.

# One prefix per build: a second inclusion would redo it for nothing.
include_guard(GLOBAL)

set(TOVICONV_CROSS_PREFIX ${CMAKE_BINARY_DIR}/cross-prefix)
set(TOVICONV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources cross-built for the tests")
set(TOVICONV_CLI11_HEADER_DIR /usr/include/CLI CACHE PATH "CLI11 headers copied into the cross prefix")
set(TOVICONV_CLI11_CONFIG_DIR /usr/share/cmake/CLI11 CACHE PATH "CLI11 package configuration copied with them")

if(NOT EXISTS ${TOVICONV_CROSS_PREFIX}/include/CLI/CLI.hpp)
  file(COPY ${TOVICONV_CLI11_HEADER_DIR} DESTINATION ${TOVICONV_CROSS_PREFIX}/include)
  # The configuration finds its headers relative to itself, four levels up.
  file(COPY ${TOVICONV_CLI11_CONFIG_DIR} DESTINATION ${TOVICONV_CROSS_PREFIX}/share/cmake)
endif()

# The toolchain file for the build of GoogleTest, as an absolute path (a
# relative one names a file in the build folder or else the source folder).
# The JSON library (header only) the same way.
set(TOVICONV_JSON_HEADER_DIR /usr/include/nlohmann CACHE PATH "nlohmann-json headers copied into the cross prefix")
set(TOVICONV_JSON_CONFIG_DIR /usr/share/cmake/nlohmann_json CACHE PATH "nlohmann-json package configuration")
if(NOT EXISTS ${TOVICONV_CROSS_PREFIX}/include/nlohmann/json.hpp)
  file(COPY ${TOVICONV_JSON_HEADER_DIR} DESTINATION ${TOVICONV_CROSS_PREFIX}/include)
  file(COPY ${TOVICONV_JSON_CONFIG_DIR} DESTINATION ${TOVICONV_CROSS_PREFIX}/share/cmake)
endif()

set(_toolchain ${CMAKE_TOOLCHAIN_FILE})
if(NOT IS_ABSOLUTE ${_toolchain})
  if(EXISTS ${CMAKE_BINARY_DIR}/${_toolchain})
    set(_toolchain ${CMAKE_BINARY_DIR}/${_toolchain})
  else()
    set(_toolchain ${CMAKE_SOURCE_DIR}/${_toolchain})
  endif()
endif()

# GoogleTest is built for the project's language standard (its printers of
# char8_t strings exist only from C++20 on).
set(_gtest_stamp "${TOVICONV_GTEST_SOURCE_DIR} ${_toolchain} C++${CMAKE_CXX_STANDARD}")
set(_gtest_built "")
if(EXISTS ${TOVICONV_CROSS_PREFIX}/googletest.stamp)
  file(READ ${TOVICONV_CROSS_PREFIX}/googletest.stamp _gtest_built)
endif()
if(BUILD_TESTING AND NOT _gtest_built STREQUAL _gtest_stamp)
  message(STATUS "Cross-building GoogleTest from ${TOVICONV_GTEST_SOURCE_DIR}")
  set(_gtest_build ${CMAKE_BINARY_DIR}/cross-prefix-build/googletest)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${TOVICONV_GTEST_SOURCE_DIR} -B ${_gtest_build} -G ${CMAKE_GENERATOR}
            -DCMAKE_TOOLCHAIN_FILE=${_toolchain} -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_INSTALL_PREFIX=${TOVICONV_CROSS_PREFIX} -DBUILD_GMOCK=OFF
            -DCMAKE_CXX_STANDARD=${CMAKE_CXX_STANDARD}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${_gtest_build} --target install
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${_gtest_build})
  file(WRITE ${TOVICONV_CROSS_PREFIX}/googletest.stamp "${_gtest_stamp}")
endif()

list(APPEND CMAKE_FIND_ROOT_PATH ${TOVICONV_CROSS_PREFIX})
