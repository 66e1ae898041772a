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
  if(PRAVIK_STDCALL_DECORATED)
    set(naming decorated)
  else()
    set(naming plain)
  endif()
  set(delay_libs)
  foreach(dll ${D_DLLS})
    set(out ${CMAKE_BINARY_DIR}/delayload/lib${dll}_delay.a)
    if(NOT TARGET pravik_delay_${dll})
      # The toolchain's own import library (its find root is the MinGW sysroot).
      find_library(PRAVIK_IMPORT_LIB_${dll} NAMES lib${dll}.a)
      if(NOT PRAVIK_IMPORT_LIB_${dll})
        message(FATAL_ERROR "No MinGW import library lib${dll}.a for ${dll}.dll (package g++-mingw-w64)")
      endif()
      add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/delay-import.sh ${CMAKE_NM} ${CMAKE_DLLTOOL}
          ${PRAVIK_IMPORT_LIB_${dll}} ${dll}.dll ${out} ${naming}
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
