include(GoogleTest)

# torvella_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [PROPERTIES name value ...])
# One GoogleTest executable per library; each test case runs as its own ctest test,
# headless, with a throw-away settings folder so no test can reach the real home.
function(torvella_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # Every test runs (and is listed) through `cmake -E env`, which sets the headless
  # environment and points the settings at a folder inside the build tree.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-home/config;HOME=${CMAKE_BINARY_DIR}/test-home;TORVELLA_MODULE_DIR=${TORVELLA_PROGRAM_DIR}")
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    NO_PRETTY_VALUES
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${T_PROPERTIES})
endfunction()
