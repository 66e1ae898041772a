# Helpers for the Windows targets: shipped programs land in the installed layout under out/<arch>.

# pravik_ship(target): put the target's binary into the installed tree.
function(pravik_ship target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${PRAVIK_OUT_DIR}"
    LIBRARY_OUTPUT_DIRECTORY "${PRAVIK_OUT_DIR}")
endfunction()

# Static runtime: the programs need no libstdc++ or winpthread DLLs beside them.
function(pravik_static_runtime target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
endfunction()

# pravik_windows_test(name [OWN_MAIN] SOURCES... LIBS... [PROPERTIES prop value...]): a GoogleTest
# program run under Wine by CTest. OWN_MAIN: the program brings its own main (a child mode, COM
# set-up) and calls RUN_ALL_TESTS itself. PROPERTIES go to every test case found in it.
function(pravik_windows_test name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT PRAVIK_BUILD_TESTS OR NOT PRAVIK_ARCH STREQUAL "x86_64")
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  pravik_warnings(${name})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} pravik_testsupport gtest_cross)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} pravik_testsupport gtest_cross_main)
  endif()
  pravik_static_runtime(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
    # Windows tests share one desktop (pointer, foreground, fixed loopback ports): one at a time.
    PROPERTIES TIMEOUT 120 RESOURCE_LOCK pravik_desktop ${T_PROPERTIES})
endfunction()
