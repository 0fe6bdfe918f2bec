# Applies the chosen sanitizer to every target of the build (flags go on the whole tree so that
# libraries, tests and their inline code agree).
if(HALCYRA_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(HALCYRA_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT HALCYRA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "HALCYRA_SANITIZE must be empty, address or thread")
endif()
