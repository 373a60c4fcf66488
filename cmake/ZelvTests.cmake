# SPDX-FileCopyrightText: 2026 The Zelv developers
# SPDX-License-Identifier: GPL-3.0-or-later
# zelv_add_tests(<prefix> <folder> LIBS <libraries...>
#                [SOURCES <extra sources...>] [ONLY <names...>] [EXCEPT <names...>])
# One test program per <folder>/*_test.cpp, registered with CTest. ONLY and
# EXCEPT take test names without extension ("history_test"), so that the tests
# of a core library link that library alone and every other test (new ones
# too) links the full one. GUI tests run on Qt's offscreen platform, so no
# display is needed. Parameterised cases keep the names their tests give
# them: CTest would otherwise append a dump of each parameter's bytes.
function(zelv_add_tests prefix folder)
  cmake_parse_arguments(ARG "" "" "LIBS;SOURCES;ONLY;EXCEPT" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test_source IN LISTS test_sources)
    get_filename_component(test_name ${test_source} NAME_WE)
    if(ARG_ONLY AND NOT test_name IN_LIST ARG_ONLY)
      continue()
    endif()
    if(test_name IN_LIST ARG_EXCEPT)
      continue()
    endif()
    set(target ${prefix}_${test_name})
    add_executable(${target} ${test_source} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endforeach()
endfunction()
