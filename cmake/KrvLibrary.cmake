# krv_library(NAME name [DEPS dep...] [PUBLIC_DEPS dep...])
#
# Builds the folder of the calling CMakeLists.txt as one static library:
# every *.cpp except *_test.cpp and *_fuzz.cpp is a source. The *_test.cpp
# files beside them form one test program, NAME_tests, registered with CTest.
# *_fuzz.cpp files become libFuzzer targets when KRV_BUILD_FUZZ is on.
# The library is added to the global KRV_MODULE_LIBS so that korvane_ss links it.
function(krv_library)
  cmake_parse_arguments(KL "" "NAME" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB_RECURSE all_cpp CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(srcs "")
  set(tests "")
  set(fuzzers "")
  foreach(f IN LISTS all_cpp)
    if(f MATCHES "_test\\.cpp$")
      list(APPEND tests ${f})
    elseif(f MATCHES "_fuzz\\.cpp$")
      list(APPEND fuzzers ${f})
    else()
      list(APPEND srcs ${f})
    endif()
  endforeach()
  if(NOT srcs)
    # A folder whose code has not landed yet still gives a (empty) library.
    set(empty ${CMAKE_CURRENT_BINARY_DIR}/${KL_NAME}_empty.cpp)
    file(WRITE ${empty} "")
    list(APPEND srcs ${empty})
  endif()
  add_library(${KL_NAME} STATIC ${srcs})
  target_include_directories(${KL_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${KL_NAME} PUBLIC ${KL_DEPS})
  set_property(GLOBAL APPEND PROPERTY KRV_MODULE_LIBS ${KL_NAME})
  if(KRV_BUILD_TESTS AND tests)
    add_executable(${KL_NAME}_tests ${tests})
    target_link_libraries(${KL_NAME}_tests PRIVATE ${KL_NAME} ${KL_TEST_DEPS}
                          GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${KL_NAME}_tests PRIVATE
      KRV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      KRV_TESTDATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/testdata")
    gtest_discover_tests(${KL_NAME}_tests
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      DISCOVERY_TIMEOUT 60)
  endif()
  if(KRV_BUILD_FUZZ)
    foreach(fz IN LISTS fuzzers)
      get_filename_component(fzname ${fz} NAME_WE)
      add_executable(${fzname} ${fz})
      target_link_options(${fzname} PRIVATE -fsanitize=fuzzer)
      target_link_libraries(${fzname} PRIVATE ${KL_NAME})
    endforeach()
  endif()
endfunction()
