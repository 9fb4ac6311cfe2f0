# The native build: src/formats as a library, its tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, (with clang) one libFuzzer target per parser, and the catalogue tool
# with its tests and the check of the written catalogue.
find_package(ZLIB REQUIRED)

# Every native object, GoogleTest included, is built with the sanitizers, and any finding stops the
# run. Only the catalogue tool's own build (scripts/catalogue) turns them off, for its speed.
option(ORNAVALE_SANITIZERS "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(ORNAVALE_SANITIZERS)
  set(ORNAVALE_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # -O1 and line tables are all a sanitizer's report needs, and compile in two thirds of the time
  # that -O2 with full debugging information takes.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(ORNAVALE_DEBUG_INFO -gline-tables-only)
  else()
    set(ORNAVALE_DEBUG_INFO -g1)
  endif()
  add_compile_options(-O1)
else()
  set(ORNAVALE_DEBUG_INFO -g)
endif()
add_compile_options(-Wall -Wextra ${ORNAVALE_DEBUG_INFO} ${ORNAVALE_SANITIZE})
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false -Wrestrict overlaps in std::string concatenation at -O2.
  add_compile_options(-Wno-restrict)
endif()
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

# The program folder whose catalogue the check reads: the Windows build's.
set(ORNAVALE_PROGRAM_FOLDER ${CMAKE_SOURCE_DIR}/build/win/Ornavale CACHE PATH "The program folder with the catalogue")
add_subdirectory(tools/catalogue)
add_subdirectory(tests/catalogue_tool)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_subdirectory(fuzz)
else()
  message(STATUS "fuzz targets need clang (CXX=clang++); skipped")
endif()
