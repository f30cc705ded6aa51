# Fails the build unless the DLL exports exactly _crc32, _explode and _implode and imports only
# from kernel32 and msvcrt. Run as: cmake -DOBJDUMP=<objdump> -DDLL=<impborl.dll> -P <this file>
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[[^\n]*\n)*)" table "${dump}")
# Square brackets would upset CMake's list splitting: keep only the names.
string(REGEX REPLACE "[ \t]*\\[ *[0-9]+\\] ([^\n]+)\n" "\\1;" names "${CMAKE_MATCH_1}")
string(REGEX REPLACE ";$" "" names "${names}")
list(SORT names)
if(NOT names STREQUAL "_crc32;_explode;_implode")
  message(FATAL_ERROR "${DLL} exports [${names}], expected exactly _crc32, _explode, _implode")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
foreach(import IN LISTS imports)
  string(TOLOWER "${import}" lower)
  if(NOT lower MATCHES "^(kernel32|msvcrt)\\.dll$")
    message(FATAL_ERROR "${DLL} imports ${import}; only kernel32 and msvcrt are expected")
  endif()
endforeach()
