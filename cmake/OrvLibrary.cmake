# One static library per source folder. Sources are globbed so that adding a
# class is adding its .h/.cpp pair; headers are included as "area/Class.h".
function(orv_add_area_library name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  if(NOT sources)
    # A folder that has no classes yet still gives a linkable target.
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()

# One GoogleTest executable per test folder: every *Test.cpp in it. GUI suites
# get a QApplication, the others a QCoreApplication.
function(orv_add_test_suite name)
  cmake_parse_arguments(ARG "GUI" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  if(ARG_GUI)
    set(main testmain_gui)
  else()
    set(main testmain_core)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} testsupport ${main} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORV_BUILD_DIR=${PROJECT_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
