# Warnings are set per target so that third-party code is not held to them.
function(wenmoor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual)
  if(WENMOOR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
