# Build settings shared by every target, and the helper that declares a GoogleTest suite.

set(NRV_WINDOWS ${WIN32})

add_compile_options(-Wall -Wextra)

if(NRV_WINDOWS)
  # ANSI Win32 throughout; the program must start on Windows 95.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0400)
  # The C++ runtime, libgcc and winpthread go into each program: no DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
    # The release stub travels inside every installer: drop unused code and symbols.
    add_compile_options(-ffunction-sections -fdata-sections)
    add_link_options(-Wl,--gc-sections -s)
  endif()
endif()

if(NRV_SANITIZE AND NOT NRV_WINDOWS)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(NRV_BUILD_TESTS AND NOT NRV_FUZZ AND NOT TARGET gtest)
  # Debian ships the sources; building them with our flags keeps one recipe for all builds.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

include(GoogleTest)

# nrv_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
# One test program; each of its test cases becomes a CTest test. In the Windows builds the
# program runs under the cross-compiling emulator (wine).
function(nrv_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120)
endfunction()
