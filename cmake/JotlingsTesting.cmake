# Test helpers. Every test runs on one test device (a Wine prefix with its own
# Xvfb), brought up by the fixture "device" before the first test and taken
# down after the last one.

set(JOTLINGS_DEVICE_SCRIPT ${PROJECT_SOURCE_DIR}/device/device)
set(JOTLINGS_TEST_DEVICE ${PROJECT_BINARY_DIR}/test-device)
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.sh.in
               ${PROJECT_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Built like the test programs, for a quick build.
target_compile_options(gtest PRIVATE -O1)
target_compile_options(gtest_main PRIVATE -O1)

# The device's start also installs the build, so that end-to-end tests find
# the programs where the handheld keeps them.
add_test(NAME device.start
         COMMAND ${JOTLINGS_DEVICE_SCRIPT} --dir ${JOTLINGS_TEST_DEVICE} start --headless)
add_test(NAME device.install
         COMMAND ${JOTLINGS_DEVICE_SCRIPT} --dir ${JOTLINGS_TEST_DEVICE} install ${PROJECT_BINARY_DIR})
add_test(NAME device.stop
         COMMAND ${JOTLINGS_DEVICE_SCRIPT} --dir ${JOTLINGS_TEST_DEVICE} stop)
set_tests_properties(device.start PROPERTIES FIXTURES_SETUP device TIMEOUT 120)
set_tests_properties(device.install PROPERTIES FIXTURES_SETUP device DEPENDS device.start TIMEOUT 60)
set_tests_properties(device.stop PROPERTIES FIXTURES_CLEANUP device TIMEOUT 60)

# jotlings_gtest(NAME SOURCES... [LIBS ...]): a GoogleTest program run under
# Wine on the test device; one ctest test per program.
function(jotlings_gtest name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  # A program that dies under Wine can still end with exit code 0: only
  # GoogleTest's own verdict counts.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED device TIMEOUT ${T_TIMEOUT}
                       PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                       FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# jotlings_device_test(NAME SCRIPT): an end-to-end scenario, a bash script run
# on the host against the running test device. It gets the device script,
# the test device folder and the build folder as arguments.
function(jotlings_device_test name script)
  cmake_parse_arguments(T "" "TIMEOUT" "" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 180)
  endif()
  add_test(NAME ${name}
           COMMAND bash ${script} ${JOTLINGS_DEVICE_SCRIPT} ${JOTLINGS_TEST_DEVICE} ${PROJECT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED device TIMEOUT ${T_TIMEOUT})
endfunction()
