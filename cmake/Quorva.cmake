# Helpers shared by the component folders.

# quorva_add_test(name SOURCES ... [LIBS ...])
# Native builds register each GoogleTest case; Windows builds register the
# program once, run through the Wine runner.
function(quorva_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Test programs keep their assertions whatever the tree's build type.
  target_compile_options(${name} PRIVATE -UNDEBUG)
  if(CMAKE_CROSSCOMPILING)
    if(QUORVA_RUN_WINDOWS_TESTS)
      add_test(NAME ${name} COMMAND ${name})
      set_tests_properties(${name} PROPERTIES
        WORKING_DIRECTORY ${QUORVA_BIN_DIR} TIMEOUT 600)
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# A build target that fails and names the Debian packages to install, so a
# missing tool never skips a deliverable quietly.
function(quorva_missing_tool_target target what packages)
  message(WARNING "${what} not found: the ${target} target cannot be built (install the Debian packages ${packages}, see scripts/setup)")
  add_custom_target(${target} ALL
    COMMAND ${CMAKE_COMMAND} -E echo "error: ${what} not found; install the Debian packages ${packages} (scripts/setup)"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
endfunction()
