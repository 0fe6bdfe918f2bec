# halcyra_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
# Builds one GoogleTest program and registers each of its tests with CTest.
# Every test carries the label "unit" unless LABELS says otherwise; the ThreadSanitizer build runs
# only the tests labelled "tsan".
function(halcyra_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_LABELS)
    set(T_LABELS unit)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main halcyra_warnings)
  gtest_discover_tests(${T_NAME}
    PROPERTIES LABELS "${T_LABELS}" TIMEOUT 300
    DISCOVERY_TIMEOUT 60)
endfunction()
