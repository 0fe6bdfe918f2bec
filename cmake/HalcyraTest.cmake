# halcyra_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds one GoogleTest program and registers each of its tests with CTest.
# Every test carries the label "unit" unless LABELS says otherwise; the ThreadSanitizer build runs
# only the tests labelled "tsan" (give such tests "LABELS unit tsan").
function(halcyra_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main halcyra_warnings)
  gtest_discover_tests(${T_NAME} TEST_LIST ${T_NAME}_TESTS DISCOVERY_TIMEOUT 60)
  # gtest_discover_tests flattens list-valued PROPERTIES (LABELS "unit;tsan" would set only "unit"),
  # so the labels and the time-out are set by a script that CTest runs after the discovered tests
  # have been added.
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_properties.cmake)
  file(WRITE ${script}
    "foreach(test IN LISTS ${T_NAME}_TESTS)\n"
    "  set_tests_properties(\"\${test}\" PROPERTIES LABELS \"${T_LABELS}\" TIMEOUT 300)\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
