# The loader resolves load-time imports before any code runs, and a DLL the system does not
# protect as a known DLL is looked for in the program's own folder first. Such DLLs are linked
# through delay-load import libraries instead: loaded on first use, after the program has set
# the safe search order (system folder only).
#
# pravik_delay_load(target STATIC_LIBS lib... DLLS dll...): links the target with its static
# libraries followed by the delay libraries of the DLLs, so the linker takes their symbols from
# the delay libraries rather than from the ordinary import libraries that come later.
function(pravik_delay_load target)
  cmake_parse_arguments(D "" "" "STATIC_LIBS;DLLS" ${ARGN})
  set(triple ${PRAVIK_ARCH}-w64-mingw32)
  set(delay_libs)
  foreach(dll ${D_DLLS})
    set(out ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
    if(NOT TARGET pravik_delay_${dll})
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/delay-import.sh ${triple}-nm ${triple}-dlltool
          /usr/${triple}/lib/lib${dll}.a ${dll}.dll ${out} ${PRAVIK_ARCH}
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay-import.sh
        COMMENT "delay-load import library for ${dll}.dll"
        VERBATIM)
      add_custom_target(pravik_delay_${dll} DEPENDS ${out})
    endif()
    add_dependencies(${target} pravik_delay_${dll})
    list(APPEND delay_libs ${out})
  endforeach()
  target_link_libraries(${target} PRIVATE ${D_STATIC_LIBS} ${delay_libs})
endfunction()
