# Our own targets build with every warning as an error; third-party code is not touched.
function(pelmo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
