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

# lumbra_tests(NAME DIR [QT] DEPENDS deps...): one GoogleTest program per test folder. QT test
# programs get a main that creates the QApplication (offscreen in CTest). Each test is labelled
# with its program's name, so that `ctest -L` runs the tests of some programs only.
function(lumbra_tests name dir)
  cmake_parse_arguments(T "QT" "" "DEPENDS" ${ARGN})
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
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${name} ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LUMBRA_TEST_DATA=${CMAKE_BINARY_DIR}/testdata")
endfunction()
