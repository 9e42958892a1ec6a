# hasorin_gtest(name SOURCES ... LIBS ...): a GoogleTest executable registered with ctest.
# Tests run from the program folder so that delivered data is found as in production;
# HASORIN_SOURCE_DIR (a string macro) locates examples and golden files.
function(hasorin_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_dependencies(${name} hasorin_data)
  target_compile_definitions(${name} PRIVATE HASORIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${HASORIN_BIN_DIR}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# hasorin_qtest(name SOURCES ... LIBS ...): a Qt Test executable (one ctest entry).
function(hasorin_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  add_dependencies(${name} hasorin_data)
  target_compile_definitions(${name} PRIVATE HASORIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${HASORIN_BIN_DIR})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# hasorin_module(target PUBLIC_LIBS ... PRIVATE_LIBS ...): the static library of one
# src/ folder, built from every .cpp in it. Nothing is created while the folder
# has no sources yet.
function(hasorin_module target)
  cmake_parse_arguments(ARG "" "" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()
