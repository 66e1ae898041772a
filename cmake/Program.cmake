# Helpers for the Windows targets: shipped programs land in the installed layout under out/<arch>.

# pravik_ship(target): put the target's binary into the installed tree.
function(pravik_ship target)
  set_target_properties(${target} PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY "${PRAVIK_OUT_DIR}"
    LIBRARY_OUTPUT_DIRECTORY "${PRAVIK_OUT_DIR}")
endfunction()

# pravik_program(target [GUI] [NARROW_MAIN]): the settings every program and DLL of ours shares.
# Warnings are errors; the runtime is linked in statically, so no libstdc++ or winpthread DLLs
# need to sit beside it; programs enter through wmain/wWinMain (Unicode command line) unless
# NARROW_MAIN (GoogleTest's main); GUI: the Windows subsystem, no console.
function(pravik_program target)
  cmake_parse_arguments(P "GUI;NARROW_MAIN" "" "" ${ARGN})
  if(P_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "pravik_program(${target}): unknown arguments ${P_UNPARSED_ARGUMENTS}")
  endif()
  pravik_warnings(${target})
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  # No debug sections (the static runtime brings them) and sections on page boundaries in the
  # file: Wine then maps the image as it stands instead of reading all of it into private memory.
  target_link_options(${target} PRIVATE -s -Wl,--file-alignment,0x1000)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    if(NOT P_NARROW_MAIN)
      target_link_options(${target} PRIVATE -municode)
    endif()
    if(P_GUI)
      set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
  elseif(P_GUI OR P_NARROW_MAIN)
    message(FATAL_ERROR "pravik_program(${target}): GUI and NARROW_MAIN are for programs")
  endif()
endfunction()

# pravik_windows_test(name [OWN_MAIN] SOURCES... LIBS... [PROPERTIES prop value...]): a GoogleTest
# program run under Wine by CTest. OWN_MAIN: the program brings its own wmain (a child mode, COM
# set-up) and calls RUN_ALL_TESTS itself. PROPERTIES go to every test case found in it.
function(pravik_windows_test name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  if(NOT PRAVIK_BUILD_TESTS)
    message(FATAL_ERROR "pravik_windows_test(${name}) in a build without tests: guard it with PRAVIK_BUILD_TESTS")
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} pravik_testsupport gtest_cross)
    pravik_program(${name})
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} pravik_testsupport gtest_cross_main)
    pravik_program(${name} NARROW_MAIN)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY "${CMAKE_BINARY_DIR}/tests"
    # Windows tests share one desktop (pointer, foreground, fixed loopback ports): one at a time.
    PROPERTIES TIMEOUT 120 RESOURCE_LOCK pravik_desktop ${T_PROPERTIES})
endfunction()
