# Cross build for 32-bit Windows: the release stub. Nothing built here can run on this machine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The win32 thread model: the posix one links winpthread, whose imports (GetTickCount64,
# AddVectoredExceptionHandler, TryEnterCriticalSection) would stop the stub from loading on
# Windows 95 to XP. Nothing built here needs std::thread or std::mutex.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(NRV_OBJDUMP i686-w64-mingw32-objdump)
