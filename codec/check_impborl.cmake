# Fails the build unless the DLL exports exactly _crc32, _explode and _implode and imports only
# from kernel32 (functions Windows 95 has) and msvcrt. Run as: cmake -DOBJDUMP=<objdump> -DDLL=<impborl.dll> -P <this file>
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

# The installer loads this DLL on Windows 95 too: every kernel32 import must exist there.
set(windows95_kernel32
  DeleteCriticalSection EnterCriticalSection FreeLibrary GetCurrentProcess GetCurrentProcessId
  GetCurrentThreadId GetLastError GetModuleHandleA GetProcAddress GetTickCount
  InitializeCriticalSection LeaveCriticalSection LoadLibraryA SetLastError SetUnhandledExceptionFilter
  Sleep TlsAlloc TlsFree TlsGetValue TlsSetValue UnhandledExceptionFilter VirtualProtect
  VirtualQuery)

string(REPLACE "\n" ";" lines "${dump}")
set(current "")
foreach(line IN LISTS lines)
  if(line MATCHES "DLL Name: (.+)$")
    string(TOLOWER "${CMAKE_MATCH_1}" current)
    if(NOT current MATCHES "^(kernel32|msvcrt)\\.dll$")
      message(FATAL_ERROR "${DLL} imports ${CMAKE_MATCH_1}; only kernel32 and msvcrt are expected")
    endif()
  elseif(line MATCHES "^[ \t]*$")
    set(current "")
  elseif(current STREQUAL "kernel32.dll" AND line MATCHES "^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+([A-Za-z0-9_]+)")
    if(NOT CMAKE_MATCH_1 IN_LIST windows95_kernel32)
      message(FATAL_ERROR "${DLL} imports kernel32 ${CMAKE_MATCH_1}, which Windows 95 lacks "
                          "(or add it here once checked)")
    endif()
  endif()
endforeach()
