# GoogleTest for both builds. The native build uses Debian's prebuilt
# libraries; the Windows build compiles the sources Debian ships, and runs
# every test under Wine through a wrapper that sets up the build's own prefix.
include(GoogleTest)

if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(QUENMARL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${PROJECT_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  set(QUENMARL_GTEST_LIBS GTest::gtest GTest::gtest_main GTest::gmock)
else()
  find_package(GTest REQUIRED)
  set(QUENMARL_GTEST_LIBS GTest::gtest GTest::gtest_main GTest::gmock)
endif()

# Seconds a test may take. ThreadSanitizer slows the filter's exactness
# tests, which compare long runs with the plain sequential filter, by about
# ten times.
set(QUENMARL_TEST_TIMEOUT 300)
if(QUENMARL_TSAN)
  set(QUENMARL_TEST_TIMEOUT 1200)
endif()

# quenmarl_add_test(name SOURCES ... LIBS ... [PROPERTIES ...])
function(quenmarl_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${QUENMARL_GTEST_LIBS} quenmarl_testsupport)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT ${QUENMARL_TEST_TIMEOUT} ${T_PROPERTIES})
endfunction()
