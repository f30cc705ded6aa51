#include "package/pk_stuff.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "app/message_boxes.h"
#include "package/system_message.h"
#include "sys/file_operations.h"

namespace {

alignas(16) unsigned char explodeWorkArea[kExplodeWorkAreaSize];

using ReadCallback = unsigned(__cdecl*)(char*, unsigned*, void*);
using WriteCallback = void(__cdecl*)(char*, unsigned*, void*);
using ExplodeFunction = unsigned(__cdecl*)(ReadCallback, WriteCallback, char*, void*);

void showZipError(ResultCode code) {
    showMessage({MessageKind::Error, MessageButtons::Abort,
                 std::string("Zip Error: Problem expanding data in memory. ") + "\r\n\r\n" +
                     systemMessageText(code)});
}

}  // namespace

TCompressor::TCompressor(const std::string& libraryFolder) {
    std::string path = "impborl.dll";
    if (!libraryFolder.empty()) {
        path = libraryFolder + path;
        if (!fileExists(path)) return;
    }
    // No "cannot load" dialog from the system for a damaged file: the caller reports -35.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(path.c_str());
    SetErrorMode(previousMode);
    // Win16 returned error numbers below 32 as handles; such a value is no module.
    if (reinterpret_cast<std::uintptr_t>(module) < 32) return;
    libraryHandle_.reset(module);

    implodeEntry_ = GetProcAddress(module, "_implode");
    explodeEntry_ = GetProcAddress(module, "_explode");
    crc32Entry_ = GetProcAddress(module, "_crc32");
    if (implodeEntry_ == nullptr || explodeEntry_ == nullptr || crc32Entry_ == nullptr) {
        libraryHandle_.reset();
        return;
    }
    loaded_ = true;
}

ResultCode TCompressor::ExplodeToFile(const std::string& targetPath, const std::uint8_t* data,
                                      std::int32_t dataSize) {
    if (!loaded_) return kErrLibraryNotLoaded;
    try {
        inputBuffer_.assign(data, data + (dataSize > 0 ? dataSize : 0));
    } catch (const std::bad_alloc&) {
        showZipError(ERROR_NOT_ENOUGH_MEMORY);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    inputPosition_ = 0;

    // Exclusive: nobody reads a half-written file, and nobody else writes into it.
    outputFile_.reset(CreateFileA(targetPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ResultCode result = kOk;
    if (!outputFile_.valid()) {
        result = static_cast<ResultCode>(GetLastError());
        if (result == kOk) result = ERROR_OPEN_FAILED;
        showZipError(result);
    } else {
        TCompressor* self = this;
        const auto explode =
            reinterpret_cast<ExplodeFunction>(reinterpret_cast<void (*)()>(explodeEntry_));
        explode(readCallback, writeCallback, reinterpret_cast<char*>(explodeWorkArea), &self);
    }

    inputBuffer_.clear();
    inputBuffer_.shrink_to_fit();
    outputFile_.reset();
    return result;
}

unsigned __cdecl TCompressor::readCallback(char* buffer, unsigned* size, void* parameter) {
    if (buffer == nullptr || size == nullptr || parameter == nullptr) return 0;
    TCompressor* self = *static_cast<TCompressor**>(parameter);
    const std::size_t left = self->inputBuffer_.size() - self->inputPosition_;
    const std::size_t count = *size < left ? *size : left;
    if (count != 0) std::memcpy(buffer, self->inputBuffer_.data() + self->inputPosition_, count);
    self->inputPosition_ += count;
    return static_cast<unsigned>(count);
}

void __cdecl TCompressor::writeCallback(char* buffer, unsigned* size, void* parameter) {
    if (buffer == nullptr || size == nullptr || parameter == nullptr) return;
    TCompressor* self = *static_cast<TCompressor**>(parameter);
    // A failed or short write is not judged here: the caller compares the file's size.
    DWORD written = 0;
    WriteFile(self->outputFile_.get(), buffer, *size, &written, nullptr);
}
