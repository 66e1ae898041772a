# GoogleTest built from Debian's sources with the -posix MinGW compiler (the win32 thread model lacks std::mutex).
include(GoogleTest)
set(GTEST_SRC /usr/src/googletest/googletest)
add_library(gtest_cross STATIC ${GTEST_SRC}/src/gtest-all.cc)
target_include_directories(gtest_cross SYSTEM PUBLIC ${GTEST_SRC}/include PRIVATE ${GTEST_SRC})
target_compile_options(gtest_cross PRIVATE -w)
add_library(gtest_cross_main STATIC ${GTEST_SRC}/src/gtest_main.cc)
target_link_libraries(gtest_cross_main PUBLIC gtest_cross)
target_compile_options(gtest_cross_main PRIVATE -w)
