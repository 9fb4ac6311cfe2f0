# The native build: src/formats as a library, its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and (with clang) one libFuzzer target per parser.
find_package(ZLIB REQUIRED)

# Every native object, GoogleTest included, is built with the sanitizers, and any finding stops the run.
set(ORNAVALE_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-Wall -Wextra -g ${ORNAVALE_SANITIZE})
add_link_options(${ORNAVALE_SANITIZE})
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

add_library(ornavale_formats STATIC ${ORNAVALE_FORMATS_SOURCES})
target_include_directories(ornavale_formats PUBLIC src)
target_link_libraries(ornavale_formats PUBLIC ZLIB::ZLIB)

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)
add_subdirectory(tests/formats)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(fuzz)
else()
  message(STATUS "fuzz targets need clang (CXX=clang++); skipped")
endif()
