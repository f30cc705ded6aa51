#include "package/extraction_rules.h"

#include <gtest/gtest.h>

namespace {

InstallerFolders folders() {
    InstallerFolders f;
    f.windowsDir = "C:\\windows\\";
    f.systemDir = "C:\\windows\\system32\\";
    f.sysNativeDir = "C:\\windows\\sysnative\\";
    f.vendorDataDir = "C:\\ProgramData\\Vendor\\";
    f.workDir = "C:\\work\\";
    return f;
}

const std::string kSaverDir = "C:\\ProgramData\\Vendor\\Saver\\";

struct DestinationCase {
    int kind;
    const char* name;
    int osCode;
    ResultCode result;
    const char* path;
    const char* secondPath;
};

TEST(ExtractionRules, DestinationByKind) {
    const DestinationCase cases[] = {
        {1, "a.txt", 5, kOk, "C:\\ProgramData\\Vendor\\Saver\\a.txt", ""},
        {5, "a.txt", 5, kOk, "C:\\ProgramData\\Vendor\\Saver\\a.txt", ""},
        {6, "a.txt", 5, kOk, "C:\\ProgramData\\Vendor\\Saver\\a.txt", ""},
        {10, "a.txt", 5, kOk, "C:\\ProgramData\\Vendor\\Saver\\a.txt", ""},
        {2, "s.scr", 5, kOk, "C:\\windows\\system32\\s.scr", ""},
        {2, "s.scr", 7, kOk, "C:\\windows\\system32\\s.scr", "C:\\windows\\sysnative\\s.scr"},
        {3, "install_flash_player_10_active_x.exe", 5, kOk,
         "C:\\work\\install_flash_player_10_active_x.exe", ""},
        {3, "install_flash_player_active_x.exe", 5, kOk,
         "C:\\work\\install_flash_player_active_x.exe", ""},
        // Exact match only: another letter case is "any other name".
        {3, "Install_Flash_Player_Active_X.exe", 5, kOk,
         "C:\\ProgramData\\Vendor\\Install_Flash_Player_Active_X.dll", ""},
        {3, "helper.dat", 5, kOk, "C:\\ProgramData\\Vendor\\helper.dll", ""},
        {3, "helper", 5, kOk, "C:\\ProgramData\\Vendor\\helper.dll", ""},
        {4, "impborl.dat", 5, kOk, "C:\\work\\impborl.dll", ""},
        {4, "IMPBORL.DAT", 5, kOk, "C:\\work\\IMPBORL.DAT", ""},
        {4, "licence.rtf", 5, kOk, "C:\\work\\licence.rtf", ""},
        {7, "installer.swf", 7, kOk, "C:\\work\\installer.swf", ""},
        {0, "a", 5, kErrNoDestination, "", ""},
        {8, "a", 5, kErrNoDestination, "", ""},
        {9, "a", 5, kErrNoDestination, "", ""},
        {11, "a", 5, kErrNoDestination, "", ""},
        {-1, "a", 5, kErrNoDestination, "", ""},
    };
    for (const auto& c : cases) {
        PackageEntry entry;
        entry.name = c.name;
        entry.kind = c.kind;
        const Destination d = destinationFor(entry, folders(), kSaverDir, c.osCode);
        EXPECT_EQ(d.result, c.result) << c.kind << " " << c.name;
        EXPECT_EQ(d.path, c.path) << c.kind << " " << c.name;
        EXPECT_EQ(d.secondPath, c.secondPath) << c.kind << " " << c.name;
    }
}

TEST(ExtractionRules, ExtensionReplacement) {
    const struct {
        const char* name;
        const char* extension;
        const char* expected;
    } cases[] = {
        {"preview.jpg", ".BMP", "preview.BMP"},
        {"preview", ".BMP", "preview.BMP"},
        {"a.b.c", ".dll", "a.b.dll"},
        {".hidden", ".dll", ".dll"},
        {"dir.x\\name", ".dll", "dir.x\\name.dll"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(replaceExtension(c.name, c.extension), c.expected) << c.name;
    }
}

TEST(ExtractionRules, OnlyAnExactDllIsDeletedOnce) {
    EXPECT_TRUE(deletedOnceBeforeExtraction("C:\\work\\impborl.dll"));
    EXPECT_FALSE(deletedOnceBeforeExtraction("C:\\work\\impborl.DLL"));
    EXPECT_FALSE(deletedOnceBeforeExtraction("C:\\work\\saver.scr"));
    EXPECT_FALSE(deletedOnceBeforeExtraction("C:\\work.dll\\readme"));
}

TEST(ExtractionRules, PreviewNameFollowsTheInstallMode) {
    EXPECT_EQ(previewEntryName("p.jpg", 1), "p.BMP");
    EXPECT_EQ(previewEntryName("p.bmp", 8), "p.jpg");
    EXPECT_EQ(previewEntryName("p.swf", 2), "p.swf");
    EXPECT_EQ(previewEntryName("p.swf", 4), "p.swf");
    // The header holds at most 255 characters.
    EXPECT_EQ(previewEntryName(std::string(255, 'x'), 1).size(), 255u);
}

TEST(ExtractionRules, EntryNameSafety) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"saver.scr", true},
        {"impborl.dat", true},
        {"a..b", true},
        {"..\\evil.dll", false},
        {"sub/evil", false},
        {"C:evil", false},
        {"file.txt:stream", false},
        {".", false},
        {"..", false},
        {". .", false},
        {"\\\\server\\share", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isSafeEntryName(c.name), c.safe) << c.name;
}

TEST(ExtractionRules, DataFileNameSafety) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"data.bin", true},
        {"images\\one.jpg", true},
        {"a..b\\c", true},
        {".\\x", true},
        {"\\windows\\x", false},
        {"/etc/x", false},
        {"\\\\server\\share\\x", false},
        {"C:\\x", false},
        {"C:x", false},
        {"x:stream", false},
        {"..\\x", false},
        {"sub\\..\\..\\x", false},
        {"sub/../x", false},
        {"sub\\.. \\x", false},
        {"..", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isSafeDataFileName(c.name), c.safe) << c.name;
}

TEST(ExtractionRules, StoredSize) {
    const struct {
        std::int32_t start;
        std::int32_t end;
        ResultCode result;
        std::uint32_t size;
    } cases[] = {
        {100, 100, kOk, 1},
        {100, 199, kOk, 100},
        {100, 99, kErrNoMemory, 0},
        {100, 10, kErrNoMemory, 0},
        {0, 0x7FFFFFFE, kOk, 0x7FFFFFFF},
        {0, 0x7FFFFFFF, kErrNoMemory, 0},   // 2^31 bytes
        {-2, 0x7FFFFFFF, kErrNoMemory, 0},  // wraps in 32 bits
        {INT32_MIN, 0x7FFFFFFF, kErrNoMemory, 0},
    };
    for (const auto& c : cases) {
        std::uint32_t size = 0;
        EXPECT_EQ(storedSizeOf(c.start, c.end, size), c.result) << c.start << ".." << c.end;
        if (c.result == kOk) {
            EXPECT_EQ(size, c.size);
        }
    }
}

}  // namespace
