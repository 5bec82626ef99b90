# Warning set for our own targets: on and kept clean.
function(dialnest_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wformat=2 -Wundef)
endfunction()

# Program code throws no exceptions and needs no run-time type information.
function(dialnest_program_code target)
  dialnest_warnings(${target})
  dialnest_small_code(${target})
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
endfunction()
