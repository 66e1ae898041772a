# GoogleTest built from Debian's sources with the -posix MinGW compiler (the win32 thread model lacks std::mutex).
include(GoogleTest)
# The sources are for the build machine, outside the MinGW find root.
find_path(PRAVIK_GTEST_SOURCE_DIR NAMES src/gtest-all.cc include/gtest/gtest.h
  HINTS /usr/src/googletest/googletest /usr/src/gtest
  NO_CMAKE_FIND_ROOT_PATH)
if(NOT PRAVIK_GTEST_SOURCE_DIR)
  message(FATAL_ERROR "GoogleTest's sources (src/gtest-all.cc) not found: install the googletest package "
    "or set PRAVIK_GTEST_SOURCE_DIR, or configure with -DPRAVIK_BUILD_TESTS=OFF")
endif()
set(GTEST_SRC ${PRAVIK_GTEST_SOURCE_DIR})
add_library(gtest_cross STATIC ${GTEST_SRC}/src/gtest-all.cc)
target_include_directories(gtest_cross SYSTEM PUBLIC ${GTEST_SRC}/include PRIVATE ${GTEST_SRC})
target_compile_options(gtest_cross PRIVATE -w)
add_library(gtest_cross_main STATIC ${GTEST_SRC}/src/gtest_main.cc)
target_link_libraries(gtest_cross_main PUBLIC gtest_cross)
target_compile_options(gtest_cross_main PRIVATE -w)
