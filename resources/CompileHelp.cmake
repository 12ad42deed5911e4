# Compiles the help file: the sources of help/ and the pictures of docs/ are copied into one folder
# of the build tree (the CHM compilers take files below the project file's folder only) and the
# compiler runs there.
#
#   cmake -DCOMPILER=<chmcmd or hhc> -DSOURCES=<help/> -DPICTURES=<docs/> -DOUTPUT=<folder> -P CompileHelp.cmake
#
# Neither compiler's exit status can be trusted: chmcmd returns 0 even without a project, and hhc
# returns 1 on success. The file must be there afterwards, and a page naming a file that is not
# there (which chmcmd reports as a warning) fails the build too.
foreach(input COMPILER SOURCES PICTURES OUTPUT)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "CompileHelp.cmake needs -D${input}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUTPUT}")
file(MAKE_DIRECTORY "${OUTPUT}")
file(GLOB sources "${SOURCES}/*.html" "${SOURCES}/*.css" "${SOURCES}/*.hhp" "${SOURCES}/*.hhc" "${SOURCES}/*.hhk")
file(GLOB pictures "${PICTURES}/*.png")
file(COPY ${sources} ${pictures} DESTINATION "${OUTPUT}")

execute_process(COMMAND "${COMPILER}" Mirepan.hhp WORKING_DIRECTORY "${OUTPUT}" RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
get_filename_component(compiler_name "${COMPILER}" NAME_WE)
string(TOLOWER "${compiler_name}" compiler_name)
if(compiler_name STREQUAL "hhc")
  set(failed_status 0)
else()
  set(failed_status -1)  # chmcmd's status says nothing
  string(REGEX MATCHALL "[^\n]*(couldn't find it on disk|Error)[^\n]*" problems "${out}")
endif()
if(NOT EXISTS "${OUTPUT}/Mirepan.chm" OR status STREQUAL "${failed_status}" OR problems)
  file(REMOVE "${OUTPUT}/Mirepan.chm")
  message(FATAL_ERROR "The help file was not compiled by ${COMPILER} (status ${status}):\n${out}")
endif()
