#include "package_test_support.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "sys/file_operations.h"

#ifdef NRV_HAVE_IMPLODER
#include "codec/dcl.h"
#endif

namespace {
std::vector<MessageRequest> recordedBoxes;

int recordBox(const MessageRequest& request) {
    recordedBoxes.push_back(request);
    return kIdAbort;
}
}  // namespace

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes patternBytes(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    std::uint32_t x = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        x = x * 1103515245u + 12345u;
        // Runs and repeats, so imploding has something to find.
        b = static_cast<std::uint8_t>((x >> 16) % 7 + 'a');
    }
    return bytes;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, bytes.size());
}

Bytes readFile(const std::string& path) {
    Bytes bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(h, nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    bytes.resize(got);
    return bytes;
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string windowsPathOfHostPath(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

void setRunningInstallerSize(std::int32_t size) {
    auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::strncmp(reinterpret_cast<const char*>(section->Name), ".instsz", 8) != 0) {
            continue;
        }
        void* value = base + section->VirtualAddress;
        DWORD oldProtect = 0;
        ASSERT_TRUE(VirtualProtect(value, 4, PAGE_READWRITE, &oldProtect));
        std::memcpy(value, &size, 4);
        VirtualProtect(value, 4, oldProtect, &oldProtect);
        return;
    }
    FAIL() << "no INSTALLER_SIZE_IN_BYTES section in the test program";
}

WorkingCopyBuilder::WorkingCopyBuilder(std::size_t programSize) : programSize_(programSize) {
    data_.assign(programSize_ + kInstallerHeaderSize, 0x90);
}

PackageEntry& WorkingCopyBuilder::add(int slot, const std::string& name, std::int32_t kind,
                                      const Bytes& data) {
    PackageEntry& entry = header.entries[slot];
    entry.name = name;
    entry.kind = kind;
    entry.compressed = false;
    entry.startOffset = static_cast<std::int32_t>(data_.size());
    entry.endOffset = entry.startOffset + static_cast<std::int32_t>(data.size()) - 1;
    entry.expandedSize = static_cast<std::int32_t>(data.size());
    data_.insert(data_.end(), data.begin(), data.end());
    return entry;
}

PackageEntry& WorkingCopyBuilder::addImploded(int slot, const std::string& name, std::int32_t kind,
                                              const Bytes& original) {
    PackageEntry& entry = add(slot, name, kind, implodeBytes(original));
    entry.compressed = true;
    entry.expandedSize = static_cast<std::int32_t>(original.size());
    return entry;
}

Bytes WorkingCopyBuilder::bytes() const {
    Bytes out = data_;
    encodeInstallerHeader(header,
                          MutableHeaderBytes(out.data() + programSize_, kInstallerHeaderSize));
    return out;
}

Bytes implodeBytes(const Bytes& original) {
#ifdef NRV_HAVE_IMPLODER
    return dcl::implode(original);
#else
    (void)original;
    return {};
#endif
}

bool haveImplodeLibrary() {
#ifdef NRV_IMPBORL_PATH
    return true;
#else
    return false;
#endif
}

std::string implodeLibraryPath() {
#ifdef NRV_IMPBORL_PATH
    return windowsPathOfHostPath(NRV_IMPBORL_PATH);
#else
    return {};
#endif
}

std::string fixtureLibraryPath() {
    return windowsPathOfHostPath(NRV_FIXTURE_LIBRARY_PATH);
}

std::vector<MessageRequest>& PackageTest::boxes() {
    return recordedBoxes;
}

void PackageTest::SetUp() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    root_ = std::string(temp) + "pkgtest_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter++) + "\\";
    deleteFolderTree(root_);
    InstallerFolders& f = run_.folders;
    f.windowsDir = root_ + "windows\\";
    f.systemDir = root_ + "system\\";
    f.sysNativeDir = root_ + "sysnative\\";
    f.vendorDataDir = root_ + "vendor\\";
    f.workDir = root_ + "work\\";
    for (const std::string* folder :
         {&f.windowsDir, &f.systemDir, &f.sysNativeDir, &f.vendorDataDir, &f.workDir}) {
        createFolderTree(*folder);
    }
    run_.osCode = 5;
    run_.workingCopy = f.workDir + "temp.dat";
    run_.saverName = "Saver";
    run_.saverDataDir = f.vendorDataDir + "Saver\\";
    createFolderTree(run_.saverDataDir);
    run_.feedback = &feedback_;
    recordedBoxes.clear();
    previous_ = setMessagePresenter(recordBox);
}

void PackageTest::TearDown() {
    setMessagePresenter(previous_);
    deleteFolderTree(root_);
}

void PackageTest::useWorkingCopy(const WorkingCopyBuilder& builder) {
    writeFile(run_.workingCopy, builder.bytes());
    run_.header = builder.header;
}

void PackageTest::installImplodeLibrary() {
    ASSERT_TRUE(haveImplodeLibrary());
    ASSERT_TRUE(CopyFileA(implodeLibraryPath().c_str(),
                          (run_.folders.workDir + "impborl.dll").c_str(), FALSE));
}
