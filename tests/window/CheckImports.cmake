# Fails when one of PROGRAMS imports one of LAZY: libraries the program loads
# only when a command needs them, never at start-up.
#
#   cmake -DOBJDUMP=<objdump> -DPROGRAMS=<a.exe;b.exe> -DLAZY=<x.dll;y.dll> -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)
foreach(program IN LISTS PROGRAMS)
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE table RESULT_VARIABLE failed)
  string(REGEX MATCHALL "DLL Name: [^\r\n]+" imported "${table}")
  list(TRANSFORM imported REPLACE "^DLL Name: " "")
  string(TOLOWER "${imported}" imported)
  # Every program imports kernel32: without it the table was not read.
  if(failed OR NOT "kernel32.dll" IN_LIST imported)
    message(FATAL_ERROR "No import table read from ${program}")
  endif()
  foreach(library IN LISTS LAZY)
    string(TOLOWER "${library}" library)
    if(library IN_LIST imported)
      message(FATAL_ERROR "${program} imports ${library}, which it must load only when needed")
    endif()
  endforeach()
endforeach()
