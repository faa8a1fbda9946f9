# The program is copied from the memory card to the PC at every start, so its shipped size is
# kept in check: a stripped copy of the built program (the shipped build is stripped too) must
# stay within the limit.
#   cmake -DPROGRAM=<exe> -DSTRIP=<strip tool> -DLIMIT=<bytes> -DWORK=<scratch file> -P ProgramSize.cmake
file(COPY_FILE "${PROGRAM}" "${WORK}")
execute_process(COMMAND "${STRIP}" "${WORK}" RESULT_VARIABLE stripped)
if(NOT stripped EQUAL 0)
  message(FATAL_ERROR "cannot strip a copy of ${PROGRAM}")
endif()
file(SIZE "${WORK}" size)
file(REMOVE "${WORK}")
math(EXPR limit_kib "${LIMIT} / 1024")
math(EXPR size_kib "${size} / 1024")
if(size GREATER LIMIT)
  message(FATAL_ERROR "the program is ${size_kib} KiB stripped, above its limit of ${limit_kib} KiB")
endif()
message(STATUS "the program is ${size_kib} KiB stripped (limit ${limit_kib} KiB)")
