# orvel_add_module(NAME [PUBLIC libs...] [PRIVATE libs...])
# One static library per folder under src/, built from every source file in it. PUBLIC lists
# what the module's headers include; PRIVATE what only its sources use.
#
# A module's headers are spelled "<Module>/<file>.h". Each module exports an include root of its
# own that holds only its folder, so a source sees the headers of the modules it links and no
# others: a header from outside the module graph fails to compile instead of slipping through.
function(orvel_add_module name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "orvel_add_module(${name}): list dependencies under PUBLIC or PRIVATE, not: ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${sources})
  set(root "${CMAKE_BINARY_DIR}/module-include/${name}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${name}" SYMBOLIC)
  target_include_directories(${name} PUBLIC "${root}")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# orvel_add_test_suite(NAME DIR LIBS ...)
# One GoogleTest binary per folder under tests/, from every .cpp in it. Tests are listed when
# ctest runs (PRE_TEST), so building never starts a test binary.
function(orvel_add_test_suite name)
  cmake_parse_arguments(ARG "" "DIR" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp" "${ARG_DIR}/*.h")
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  # Tests that read files of the source tree find them here, whatever path the compiler was given.
  target_compile_definitions(${name} PRIVATE ORVELLA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120)
endfunction()
