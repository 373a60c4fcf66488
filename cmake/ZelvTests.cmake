# zelv_add_tests(<prefix> <folder> LIBS <libraries...>)
# One test program per <folder>/*_test.cpp, registered with CTest. GUI tests
# run on Qt's offscreen platform, so no display is needed.
function(zelv_add_tests prefix folder)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test_source IN LISTS test_sources)
    get_filename_component(test_name ${test_source} NAME_WE)
    set(target ${prefix}_${test_name})
    add_executable(${target} ${test_source} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
