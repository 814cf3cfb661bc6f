# lumbra_layer(NAME DIR DEPENDS deps...)
# Builds one layer as a static library from every .cpp file of its folder (not its
# subfolders), so that adding a file to a layer needs no change here. The Qt side of a layer
# lives in its qt/ subfolder and is a layer of its own.
function(lumbra_layer name dir)
  cmake_parse_arguments(L "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  if(NOT sources)
    # A layer that holds only headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${L_DEPENDS} Threads::Threads)
    return()
  endif()
  add_library(${name} STATIC ${sources} ${headers})
  if("${L_DEPENDS}" MATCHES "Qt6::")
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_DEPENDS} Threads::Threads)
endfunction()

# lumbra_tests(NAME DIR [QT] [SLOW patterns...] DEPENDS deps...): one GoogleTest program per
# test folder. QT test programs get a main that creates the QApplication (offscreen in CTest).
# Each test is labelled with its program's name, so that `ctest -L` runs the tests of some
# programs only. Every test has a time limit, so that a walk that loops fails instead of
# hanging the run: LUMBRA_TEST_TIMEOUT seconds, or LUMBRA_SLOW_TEST_TIMEOUT for the tests that
# the SLOW GoogleTest patterns (such as Suite.Name or Suite.*) name.
set(LUMBRA_TEST_TIMEOUT 120 CACHE STRING "Seconds a test may run before it counts as failed")
set(LUMBRA_SLOW_TEST_TIMEOUT 900 CACHE STRING "Seconds for the tests named slow")
function(lumbra_tests name dir)
  cmake_parse_arguments(T "QT" "" "DEPENDS;SLOW" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  if(T_QT)
    add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/qt/qt_gtest_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_DEPENDS} lumbra_toolkit_qt Qt6::Widgets Qt6::Test GTest::gtest GTest::gmock)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  else()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${T_DEPENDS} GTest::gtest_main GTest::gmock)
  endif()
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(quick_filter "*")
  if(T_SLOW)
    list(JOIN T_SLOW ":" slow_filter)
    set(quick_filter "-${slow_filter}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER ${slow_filter}
      PROPERTIES LABELS ${name} ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT ${LUMBRA_SLOW_TEST_TIMEOUT})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_FILTER ${quick_filter}
    PROPERTIES LABELS ${name} ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT ${LUMBRA_TEST_TIMEOUT})
endfunction()
