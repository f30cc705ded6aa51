// StormLib's classic implode and explode: the library exports them without declaring them in
// its public header. The independent implementation the tests and benchmarks compare against.
#pragma once

extern "C" {
unsigned int implode(unsigned int (*read)(char* buf, unsigned int* size, void* param),
                     void (*write)(char* buf, unsigned int* size, void* param), char* workArea,
                     void* param, unsigned int* type, unsigned int* dictSize);
unsigned int explode(unsigned int (*read)(char* buf, unsigned int* size, void* param),
                     void (*write)(char* buf, unsigned int* size, void* param), char* workArea,
                     void* param);
}
