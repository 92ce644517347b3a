# qurvia_add_test(<name> LABEL <subsystem> SOURCES <files...> LIBS <targets...> [QT]
#                 [TIMEOUT <seconds>])
#
# One GoogleTest executable; every test case in it becomes a ctest test with
# the subsystem label, so `ctest -L expr` runs one subsystem. With QT the
# executable gets a main() that creates a QApplication and runs offscreen.
# TIMEOUT gives tests that count events (kills of a process, say) rather
# than seconds a generous limit: they take longer on a busy machine.
function(qurvia_add_test name)
  # QT: a QApplication runs the tests headless; OWN_MAIN: the sources bring
  # their own main (one that must prepare the environment before the
  # application starts, say).
  cmake_parse_arguments(T "QT;OWN_MAIN" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    message(FATAL_ERROR "qurvia_add_test(${name}): LABEL is required")
  endif()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${name} ${T_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  if(T_QT)
    if(NOT T_OWN_MAIN)
      target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
    endif()
    target_link_libraries(${name} PRIVATE ${T_LIBS} qurvia_test_support GTest::gtest Qt6::Widgets Qt6::Test)
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} qurvia_test_support GTest::gtest_main)
    set(env "")
  endif()
  set(timeout "")
  if(T_TIMEOUT)
    set(timeout TIMEOUT ${T_TIMEOUT})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${T_LABEL} ENVIRONMENT "${env}" ${timeout})
endfunction()
