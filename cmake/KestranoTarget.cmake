# kestrano_defaults(target): the warnings every target of ours uses; KESTRANO_WERROR makes them errors.
function(kestrano_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KESTRANO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
