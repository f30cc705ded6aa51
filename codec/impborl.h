// impborl.dll: the implode library the installer loads at run time. It exports exactly three
// undecorated cdecl functions with the classic Data Compression Library call shapes:
//
//   unsigned int _implode(ImpborlRead read, ImpborlWrite write, char* workArea, void* param,
//                         unsigned int* type, unsigned int* dictSize);
//       type: 0 binary, 1 ASCII; dictSize: 1024, 2048 or 4096. workArea: 36,312 bytes by
//       convention; this library does not use it (the input is gathered in memory first).
//   unsigned int _explode(ImpborlRead read, ImpborlWrite write, char* workArea, void* param);
//       workArea: 12,596 bytes, any alignment; nothing outside it is touched, nothing allocated.
//   unsigned long _crc32(char* buffer, unsigned int* size, unsigned long* oldCrc);
//       one step of the reflected CRC-32 over *size bytes starting from *oldCrc, without the
//       initial and final inversion.
//
// read is asked for up to *size bytes and returns how many it delivered, 0 at the end of the
// input; write receives *size bytes. param is handed back to both unchanged.
#pragma once

#if defined(_WIN32)
#define IMPBORL_CALL __cdecl
#else
#define IMPBORL_CALL
#endif

extern "C" {

typedef unsigned int(IMPBORL_CALL* ImpborlRead)(char* buf, unsigned int* size, void* param);
typedef void(IMPBORL_CALL* ImpborlWrite)(char* buf, unsigned int* size, void* param);

typedef unsigned int(IMPBORL_CALL* ImpborlImplodeFn)(ImpborlRead read, ImpborlWrite write,
                                                     char* workArea, void* param,
                                                     unsigned int* type, unsigned int* dictSize);
typedef unsigned int(IMPBORL_CALL* ImpborlExplodeFn)(ImpborlRead read, ImpborlWrite write,
                                                     char* workArea, void* param);
typedef unsigned long(IMPBORL_CALL* ImpborlCrc32Fn)(char* buffer, unsigned int* size,
                                                    unsigned long* oldCrc);

}  // extern "C"

// Result codes of _implode and _explode.
enum ImpborlResult : unsigned int {
    kImpborlOk = 0,
    kImpborlInvalidDictionary = 1,  // dictSize (implode) or the stream's dictionary byte
    kImpborlInvalidMode = 2,        // type (implode) or the stream's literal-mode byte
    kImpborlBadData = 3,            // corrupt or truncated stream (explode)
    kImpborlAbort = 4,              // a missing callback or work area, or out of memory
};

inline constexpr unsigned kImpborlImplodeWorkAreaBytes = 36312;
inline constexpr unsigned kImpborlExplodeWorkAreaBytes = 12596;

// The exported names, for GetProcAddress.
inline constexpr const char* kImpborlImplodeName = "_implode";
inline constexpr const char* kImpborlExplodeName = "_explode";
inline constexpr const char* kImpborlCrc32Name = "_crc32";
