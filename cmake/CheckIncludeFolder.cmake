# cmake -DCXX=compiler -DFOLDER=include-folder -DALLOWED=header -DREFUSED=header
#       -DWORK=scratch-folder -P CheckIncludeFolder.cmake
#
# Checks a library's include folder (see krv_library): a file including
# ALLOWED must preprocess with it, and a file including REFUSED (a header of
# a layer the library may not use) must fail because that header is not found.
foreach(var CXX FOLDER ALLOWED REFUSED WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckIncludeFolder: ${var} is not set")
  endif()
endforeach()
file(MAKE_DIRECTORY ${WORK})

function(preprocess header result_var error_var)
  string(MAKE_C_IDENTIFIER "${header}" name)
  set(source ${WORK}/${name}.cpp)
  file(WRITE ${source} "#include \"${header}\"\n")
  execute_process(COMMAND ${CXX} -std=c++20 -E -I ${FOLDER} ${source} -o ${WORK}/${name}.i
                  RESULT_VARIABLE result ERROR_VARIABLE error)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${error_var} "${error}" PARENT_SCOPE)
endfunction()

preprocess(${ALLOWED} result error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${ALLOWED} should be found through ${FOLDER}:\n${error}")
endif()
preprocess(${REFUSED} result error)
if(result EQUAL 0)
  message(FATAL_ERROR "${REFUSED} was found through ${FOLDER}, but the library may not use it")
endif()
if(NOT error MATCHES "${REFUSED}: No such file")
  message(FATAL_ERROR "${REFUSED} failed for another reason than a missing header:\n${error}")
endif()
message(STATUS "${REFUSED} is not found through ${FOLDER}, as it should not be")
