# Every target of ours builds clean: warnings are errors on both architectures.
function(pravik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(WIN32)
    target_compile_definitions(${target} PRIVATE NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0602 WINVER=0x0602)
  endif()
endfunction()
