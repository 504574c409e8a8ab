# Libraries we depend on, cross-built here from the sources the set-up
# script installed or fetched.  Nothing of them lives in the repository.
set(TALMIC_THIRD_PARTY_DIR "${CMAKE_SOURCE_DIR}/build/third_party" CACHE PATH
    "Where the set-up script unpacked the source packages")

# jsoncpp, from its Debian source package.
set(JSONCPP_DIR ${TALMIC_THIRD_PARTY_DIR}/libjsoncpp)
if(NOT EXISTS ${JSONCPP_DIR}/src/lib_json/json_reader.cpp)
  message(FATAL_ERROR "jsoncpp sources missing in ${JSONCPP_DIR}: run scripts/setup.sh")
endif()
add_library(jsoncpp STATIC
    ${JSONCPP_DIR}/src/lib_json/json_reader.cpp
    ${JSONCPP_DIR}/src/lib_json/json_value.cpp
    ${JSONCPP_DIR}/src/lib_json/json_writer.cpp)
target_include_directories(jsoncpp SYSTEM PUBLIC ${JSONCPP_DIR}/include)

# minizip's zip reader over the mingw build of zlib.
set(MINIZIP_DIR ${TALMIC_THIRD_PARTY_DIR}/minizip)
if(NOT EXISTS ${MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_DIR}: run scripts/setup.sh")
endif()
find_library(ZLIB_STATIC NAMES libz.a z REQUIRED)
add_library(minizip STATIC ${MINIZIP_DIR}/unzip.c ${MINIZIP_DIR}/ioapi.c ${MINIZIP_DIR}/iowin32.c)
target_include_directories(minizip SYSTEM PUBLIC ${MINIZIP_DIR})
target_compile_definitions(minizip PRIVATE UNICODE _UNICODE NOCRYPT NOUNCRYPT)
target_link_libraries(minizip PUBLIC ${ZLIB_STATIC})

# stb_image is header-only; its folder holds nothing but stb headers, so it
# is safe to put on the cross compiler's include path.
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE /usr/include/stb)

# pugixml, from its Debian source package: the peer the markup benchmark
# measures our parser against, built in its wide-character mode with our
# compiler and flags.  Only a benchmark links it; without its sources that
# benchmark is left out rather than the whole build stopped.
set(PUGIXML_DIR ${TALMIC_THIRD_PARTY_DIR}/pugixml)
if(EXISTS ${PUGIXML_DIR}/src/pugixml.cpp)
  add_library(pugixml_wide STATIC EXCLUDE_FROM_ALL ${PUGIXML_DIR}/src/pugixml.cpp)
  target_include_directories(pugixml_wide SYSTEM PUBLIC ${PUGIXML_DIR}/src)
  target_compile_definitions(pugixml_wide PUBLIC PUGIXML_WCHAR_MODE)
else()
  message(STATUS "pugixml sources missing in ${PUGIXML_DIR}: the markup benchmark is skipped")
endif()

# GoogleTest, only for the checked build that runs the tests.
if(TALMIC_CHECKED)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
