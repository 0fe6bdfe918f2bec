# Warnings for the project's own targets: -Wall -Wextra, as errors unless turned off.
add_library(halcyra_warnings INTERFACE)
target_compile_options(halcyra_warnings INTERFACE -Wall -Wextra -Wshadow=local -Wnon-virtual-dtor)
if(HALCYRA_WERROR)
  target_compile_options(halcyra_warnings INTERFACE -Werror)
endif()
