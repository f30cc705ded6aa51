#!/usr/bin/env bash
# Checks a built stub: the machine it is for, the GUI subsystem, and that it imports only DLLs
# that every Windows from 95 on has (the C++ runtime, libgcc and winpthread are linked in).
# Usage: check-pe.sh OBJDUMP STUB.exe PROCESSOR
set -u
objdump=$1 stub=$2 processor=$3
headers=$("$objdump" -p "$stub") || { echo "cannot read $stub"; exit 1; }
fail=0

case $processor in
    i686) want_format=pei-i386 want_magic=PE32 ;;
    x86_64) want_format=pei-x86-64 want_magic=PE32+ ;;
    *) echo "unknown processor $processor"; exit 1 ;;
esac
format=$("$objdump" -f "$stub" | sed -n 's/.*file format \(.*\)/\1/p')
[ "$format" = "$want_format" ] || { echo "file format is $format, not $want_format"; fail=1; }
grep -Fq "($want_magic)" <<<"$(grep '^Magic' <<<"$headers")" ||
    { echo "optional header is not $want_magic"; fail=1; }
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" ||
    { echo "subsystem is not Windows GUI (2)"; fail=1; }

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|version|msvcrt)\.dll$'
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
    grep -Eq "$allowed" <<<"$dll" || { echo "imports $dll, which old Windows lacks"; fail=1; }
done

# The release stub must load on Windows 95: every kernel32 function it imports must be one that
# system exports (the wide-character ones there are stubs that fail at run time, which is fine
# because the program calls only the ANSI ones). A new import fails here until it is checked.
if [ "$processor" = i686 ]; then
    windows95_kernel32=" CloseHandle CopyFileA CreateDirectoryA CreateFileA CreateSemaphoreW
        DeleteCriticalSection DeleteFileA EnterCriticalSection FindClose FindFirstFileA
        FindNextFileA FormatMessageA FreeLibrary GetCommandLineA GetCurrentProcess
        GetCurrentThreadId GetEnvironmentVariableA GetFileAttributesA GetFileSize GetLastError
        GetModuleFileNameA GetModuleHandleA GetModuleHandleW GetProcAddress GetStartupInfoA
        GetSystemDirectoryA GetTickCount GetVersionExA InitializeCriticalSection IsDBCSLeadByteEx
        LeaveCriticalSection LoadLibraryA LoadLibraryW MultiByteToWideChar ReadFile
        ReleaseSemaphore RemoveDirectoryA SetErrorMode SetFileAttributesA SetFilePointer
        SetLastError SetUnhandledExceptionFilter Sleep TlsAlloc TlsFree TlsGetValue TlsSetValue
        VirtualProtect VirtualQuery WaitForSingleObject WideCharToMultiByte WriteFile "
    windows95_kernel32=$(tr -s ' \n' ' ' <<<"$windows95_kernel32")
    kernel32_imports=$(awk '/DLL Name:/ { dll = tolower($3); next }
             dll == "kernel32.dll" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $NF !~ /^[0-9a-f]+$/ { print $NF }
             /^$/ { dll = "" }' <<<"$headers" | sort -u)
    for fn in $kernel32_imports; do
        [[ "$windows95_kernel32" == *" $fn "* ]] ||
            { echo "imports kernel32 $fn, which Windows 95 may lack"; fail=1; }
    done
fi

size=$(stat -c %s "$stub")
echo "$(basename "$stub") ($want_magic): $size bytes; imports: $(echo $dlls)"
exit $fail
