# Our own code builds warning-free; warnings are errors.
function(ausklink_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
