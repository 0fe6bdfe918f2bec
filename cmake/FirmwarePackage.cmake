# Build-time firmware packages (the fwpack tool of tools/fwpack).
#
# halcyra_append_firmware_package(<executable target> OUTPUT <file> ARGS <fwpack append options...>
#                                 [DEPENDS <files the options name...>])
#   Writes <file>: the target's executable with a firmware package appended, rebuilt whenever the
#   executable, the tool or a listed file changes. ARGS are the options of "fwpack append" after
#   --input/--output (signature, ids, texts, entries).
function(halcyra_append_firmware_package target)
  cmake_parse_arguments(P "" "OUTPUT" "ARGS;DEPENDS" ${ARGN})
  if(NOT P_OUTPUT)
    message(FATAL_ERROR "halcyra_append_firmware_package: OUTPUT is needed")
  endif()
  get_filename_component(output_dir ${P_OUTPUT} DIRECTORY)
  add_custom_command(OUTPUT ${P_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND fwpack append --input $<TARGET_FILE:${target}> --output ${P_OUTPUT} ${P_ARGS}
    DEPENDS ${target} fwpack ${P_DEPENDS}
    COMMENT "Appending a firmware package: ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target}_firmware_package ALL DEPENDS ${P_OUTPUT})
endfunction()

# halcyra_firmware_image(OUTPUT <file> VERSION <major.minor.build> BODY_BYTES <n>)
#   An application image the virtual controller boots, carrying that version.
function(halcyra_firmware_image)
  cmake_parse_arguments(I "" "OUTPUT;VERSION;BODY_BYTES" "" ${ARGN})
  add_custom_command(OUTPUT ${I_OUTPUT}
    COMMAND fwpack image --version ${I_VERSION} --body-bytes ${I_BODY_BYTES} --output ${I_OUTPUT}
    DEPENDS fwpack
    COMMENT "Firmware image ${I_VERSION}: ${I_OUTPUT}"
    VERBATIM)
endfunction()

# halcyra_firmware_version_block(OUTPUT <file> TEXT <version text>)
#   A version block whose version record holds the text.
function(halcyra_firmware_version_block)
  cmake_parse_arguments(V "" "OUTPUT;TEXT" "" ${ARGN})
  add_custom_command(OUTPUT ${V_OUTPUT}
    COMMAND fwpack version-block --text ${V_TEXT} --output ${V_OUTPUT}
    DEPENDS fwpack
    COMMENT "Firmware version block ${V_TEXT}: ${V_OUTPUT}"
    VERBATIM)
endfunction()
