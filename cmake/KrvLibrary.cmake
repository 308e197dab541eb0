# krv_library(NAME name [DEPS dep...] [TEST_DEPS dep...] [OUTSIDE_MODULE])
#
# Builds the folder of the calling CMakeLists.txt as one static library:
# every *.cpp except *_test.cpp and *_fuzz.cpp is a source. The *_test.cpp
# files beside them form one test program, NAME_tests, registered with CTest.
# *_fuzz.cpp files become libFuzzer targets when KRV_BUILD_FUZZ is on.
# The library is added to the global KRV_MODULE_LIBS so that korvane_ss links it,
# unless it is OUTSIDE_MODULE (the renderer: only the program uses it).
#
# Includes are spelled from the repository root ("platform/sheet/x.h"), but a
# library does not get the root as include folder: it gets its own folder in
# the build tree, ${CMAKE_BINARY_DIR}/include/NAME, holding symbolic links to
# its source folder and to the folders of its DEPS and of theirs, and nothing
# else. An include of a layer the library does not depend on therefore fails
# to compile. The library's tests see the same; tools/ and bench/ add the root.
function(krv_library)
  cmake_parse_arguments(KL "OUTSIDE_MODULE" "NAME" "DEPS;TEST_DEPS" ${ARGN})
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
  krv_include_folder(${KL_NAME} "${KL_DEPS}")
  target_link_libraries(${KL_NAME} PUBLIC ${KL_DEPS})
  if(NOT KL_OUTSIDE_MODULE)
    set_property(GLOBAL APPEND PROPERTY KRV_MODULE_LIBS ${KL_NAME})
  endif()
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

# Makes the include folder of library `lib` (see krv_library) from its own
# source folder and the folders its krv_library DEPS may see, and records the
# list in the target's KRV_VISIBLE_FOLDERS for the libraries above it.
function(krv_include_folder lib deps)
  file(RELATIVE_PATH own ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(visible ${own})
  foreach(dep IN LISTS deps)
    if(TARGET ${dep})
      get_property(dep_visible TARGET ${dep} PROPERTY KRV_VISIBLE_FOLDERS)
      list(APPEND visible ${dep_visible})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(TARGET ${lib} PROPERTY KRV_VISIBLE_FOLDERS ${visible})
  # Made afresh at every configure so that a dropped dependency is dropped
  # here too; removing the folder removes the links, never what they point to.
  set(dir ${CMAKE_BINARY_DIR}/include/${lib})
  file(REMOVE_RECURSE ${dir})
  foreach(folder IN LISTS visible)
    get_filename_component(parent ${dir}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${lib} PUBLIC ${dir})
endfunction()
