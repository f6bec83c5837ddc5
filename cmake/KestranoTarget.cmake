# kestrano_defaults(target): the warnings and include root every target of ours uses.
function(kestrano_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
