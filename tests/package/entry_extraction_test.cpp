#include "package/entry_extraction.h"

#include <gtest/gtest.h>

#include "app/install_error.h"
#include "package_test_support.h"
#include "sys/win_handle.h"

namespace {

class EntryExtraction : public PackageTest {
  protected:
    // Extracts slot from the current working copy, as the start-up and install steps do.
    ResultCode extract(int slot, bool showProgress = false) {
        FileStream stream;
        EXPECT_EQ(stream.open(run_.workingCopy, FileStream::Mode::Read), kOk);
        return extractEntry(run_, stream, slot, showProgress);
    }
    UniqueFile holdOpen(const std::string& path) {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(file.valid()) << path;
        return file;
    }
};

TEST_F(EntryExtraction, StoredEntriesLandWhereTheirKindSays) {
    const struct {
        std::int32_t kind;
        const char* name;
        int osCode;
        std::vector<std::string> written;  // relative to the test's root
    } cases[] = {
        {1, "readme.txt", 5, {"vendor\\Saver\\readme.txt"}},
        {10, "readme.txt", 5, {"vendor\\Saver\\readme.txt"}},
        {2, "Saver.scr", 5, {"system\\Saver.scr"}},
        {2, "Saver.scr", 7, {"system\\Saver.scr", "sysnative\\Saver.scr"}},
        {3, "install_flash_player_active_x.exe", 5, {"work\\install_flash_player_active_x.exe"}},
        {3,
         "install_flash_player_10_active_x.exe",
         5,
         {"work\\install_flash_player_10_active_x.exe"}},
        {3, "helper.dat", 5, {"vendor\\helper.dll"}},
        {4, "impborl.dat", 5, {"work\\impborl.dll"}},
        {7, "licence.rtf", 5, {"work\\licence.rtf"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WorkingCopyBuilder builder;
        const Bytes content = patternBytes(70000, static_cast<std::uint8_t>(c.kind));
        builder.add(7, c.name, c.kind, content);
        useWorkingCopy(builder);
        run_.osCode = c.osCode;

        EXPECT_EQ(extract(7), kOk);
        for (const std::string& relative : c.written) {
            EXPECT_EQ(readFile(root_ + relative), content) << relative;
            DeleteFileA((root_ + relative).c_str());
        }
        if (c.osCode != 7) {
            EXPECT_FALSE(exists(root_ + "sysnative\\" + c.name));
        }
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(EntryExtraction, ADestinationInUseIsKeptUnlessItIsTheEngine) {
    const struct {
        std::int32_t kind;
        const char* name;
        const char* folder;
        ResultCode result;
    } cases[] = {
        {2, "Saver.scr", "system\\", kErrSaverInUse},
        {7, "licence.rtf", "work\\", kOk},
        {7, "helper.DLL", "work\\", kOk},  // not ".dll": the retrying delete
        {2, "helper.ocx", "system\\", kOk},
    };
    run_.osCode = 7;  // an old file that stays is not copied to the native system folder
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = root_ + c.folder + c.name;
        writeFile(path, bytesOf("old"));
        WorkingCopyBuilder builder;
        builder.add(7, c.name, c.kind, bytesOf("new content"));
        useWorkingCopy(builder);
        {
            UniqueFile held = holdOpen(path);
            EXPECT_EQ(extract(7), c.result);
        }
        EXPECT_EQ(readFile(path), bytesOf("old"));
        EXPECT_FALSE(exists(run_.folders.sysNativeDir + c.name));
        EXPECT_TRUE(boxes().empty());
    }
}

TEST_F(EntryExtraction, ALoadedImplodeLibraryStaysAndCountsAsExtracted) {
    const std::string path = run_.folders.workDir + "impborl.dll";
    ASSERT_TRUE(CopyFileA(fixtureLibraryPath().c_str(), path.c_str(), FALSE));
    const Bytes old = readFile(path);
    UniqueModule loaded(LoadLibraryA(path.c_str()));
    ASSERT_TRUE(loaded.valid());

    WorkingCopyBuilder builder;
    builder.add(1, "impborl.dat", 4, bytesOf("a newer library"));
    useWorkingCopy(builder);
    EXPECT_EQ(extract(1), kOk);
    EXPECT_EQ(readFile(path), old);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(EntryExtraction, ShortStoredDataIsDeletedAndReportedOnlyForDll) {
    const struct {
        const char* name;
        bool reported;
    } cases[] = {{"helper.dll", true}, {"helper.DLL", false}, {"readme.txt", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes().clear();
        WorkingCopyBuilder builder;
        PackageEntry& entry = builder.add(7, c.name, 7, patternBytes(1000));
        entry.endOffset += 500;  // past the end of the working copy
        useWorkingCopy(builder);

        EXPECT_EQ(extract(7), kErrShortRead);
        const std::string path = run_.folders.workDir + c.name;
        EXPECT_FALSE(exists(path));
        if (c.reported) {
            ASSERT_EQ(boxes().size(), 1u);
            EXPECT_EQ(boxes()[0].text, installErrorText(kErrShortRead, path));
        } else {
            EXPECT_TRUE(boxes().empty());
        }
    }
}

TEST_F(EntryExtraction, EntriesThatCannotBeExtracted) {
    constexpr std::int32_t kAsBuilt = 1;
    const struct {
        const char* what;
        std::int32_t kind;
        std::int32_t start;  // kAsBuilt keeps the built offsets; end is then relative to start
        std::int32_t end;
        ResultCode result;
        bool reported;
    } cases[] = {
        {"no stored bytes", 7, kAsBuilt, -1, kErrNoMemory, false},
        {"a size beyond 31 bits", 7, 0, INT32_MAX, kErrNoMemory, true},
        {"a negative start", 7, -5, 10, ERROR_NEGATIVE_SEEK, true},
        {"kind 0", 0, kAsBuilt, 9, kErrNoDestination, true},
        {"kind 8", 8, kAsBuilt, 9, kErrNoDestination, true},
        {"kind 11", 11, kAsBuilt, 9, kErrNoDestination, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes().clear();
        WorkingCopyBuilder builder;
        PackageEntry& entry = builder.add(7, "data.bin", c.kind, patternBytes(10));
        if (c.start == kAsBuilt) {
            entry.endOffset = entry.startOffset + c.end;
        } else {
            entry.startOffset = c.start;
            entry.endOffset = c.end;
        }
        useWorkingCopy(builder);
        EXPECT_EQ(extract(7), c.result);
        EXPECT_EQ(boxes().size(), c.reported ? 1u : 0u);
        EXPECT_FALSE(exists(run_.folders.workDir + "data.bin"));
    }
}

TEST_F(EntryExtraction, UnsafeNamesAreRefusedAndNothingIsWritten) {
    for (const char* name :
         {"..\\escaped.txt", "sub/escaped.txt", "C:escaped.txt", "escaped.txt:stream", "..", "."}) {
        SCOPED_TRACE(name);
        boxes().clear();
        WorkingCopyBuilder builder;
        builder.add(7, name, 7, bytesOf("payload"));
        useWorkingCopy(builder);
        EXPECT_EQ(extract(7), kErrUnsafeName);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, installErrorText(kErrUnsafeName, name));
    }
    EXPECT_FALSE(exists(root_ + "escaped.txt"));
    EXPECT_FALSE(exists(run_.folders.workDir + "sub"));
}

TEST_F(EntryExtraction, ADestinationThatCannotBeCreatedIsReportedWithItsPath) {
    run_.saverDataDir = root_ + "no such folder\\";
    WorkingCopyBuilder builder;
    builder.add(7, "readme.txt", 1, bytesOf("text"));
    useWorkingCopy(builder);
    const ResultCode result = extract(7);
    EXPECT_GT(result, 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(result, run_.saverDataDir + "readme.txt"));
}

TEST_F(EntryExtraction, ImplodedEntries) {
    if (!haveImplodeLibrary()) GTEST_SKIP() << "no impborl.dll in this build";
    const Bytes original = patternBytes(30000);
    const std::string path = run_.folders.workDir + "movie.swf";

    // No library in WorkDir yet: imploded entries fail, stored ones still extract.
    WorkingCopyBuilder builder;
    builder.addImploded(7, "movie.swf", 7, original);
    builder.add(9, "plain.txt", 7, bytesOf("plain"));
    useWorkingCopy(builder);
    EXPECT_EQ(extract(7), kErrLibraryNotLoaded);
    EXPECT_EQ(extract(9), kOk);

    installImplodeLibrary();
    EXPECT_EQ(extract(7), kOk);
    EXPECT_EQ(readFile(path), original);

    // One byte short of the recorded size: the short file goes.
    run_.header.entries[7].expandedSize += 1;
    EXPECT_EQ(extract(7), kErrExplodedSize);
    EXPECT_FALSE(exists(path));
    EXPECT_TRUE(boxes().empty());  // not a ".dll": the caller reports

    // A destination that cannot be created: the library's box, then no file to find, which
    // is reported with the destination's path.
    run_.header.entries[7].kind = 1;
    run_.saverDataDir = root_ + "no such folder\\";
    EXPECT_EQ(extract(7), kErrFileMissing);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].text.rfind("Zip Error: ", 0), 0u);
    EXPECT_EQ(boxes()[1].text,
              installErrorText(kErrFileMissing, run_.saverDataDir + "movie.swf"));
}

TEST_F(EntryExtraction, PreviewIsRenamedForPictureModes) {
    const struct {
        std::uint8_t installMode;
        const char* packaged;
        const char* extracted;
    } cases[] = {
        {1, "preview.jpg", "preview.BMP"},
        {8, "preview.bmp", "preview.jpg"},
        {2, "installer.swf", "installer.swf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.packaged);
        WorkingCopyBuilder builder;
        builder.header.installMode = c.installMode;
        builder.add(3, c.packaged, 7, bytesOf("picture"));
        useWorkingCopy(builder);
        EXPECT_EQ(extractPreviewEntry(run_), kOk);
        EXPECT_EQ(run_.header.entries[3].name, c.extracted);
        EXPECT_EQ(readFile(run_.folders.workDir + c.extracted), bytesOf("picture"));
    }
}

TEST_F(EntryExtraction, OneSlotOperationsRefuseAnEmptySlotQuietly) {
    useWorkingCopy(WorkingCopyBuilder());
    EXPECT_EQ(extractFlashInstallerEntry(run_), kErrEmptySlot);
    EXPECT_EQ(extractPreviewEntry(run_), kErrEmptySlot);
    EXPECT_EQ(extractLicenseEntry(run_), kErrEmptySlot);
    EXPECT_EQ(extractPostInstallEntry(run_), kErrEmptySlot);
    EXPECT_TRUE(boxes().empty());
}

class InstallEntries : public EntryExtraction {
  protected:
    void build(bool withSlot7) {
        WorkingCopyBuilder builder;
        builder.add(5, "after.txt", 7, bytesOf("5"));
        builder.add(6, "Saver.scr", 2, bytesOf("6"));
        if (withSlot7) builder.add(7, "seven.txt", 7, bytesOf("7"));
        builder.add(8, "saver.dat", 7, bytesOf("8"));
        builder.add(9, "nine.txt", 7, bytesOf("9"));
        builder.add(10, "ten.txt", 7, bytesOf("10"));
        useWorkingCopy(builder);
    }
};

TEST_F(InstallEntries, ExtractsSixToTenWithAStatusAndAStepEach) {
    build(true);
    EXPECT_EQ(extractInstallEntries(run_, run_.workingCopy), kOk);
    EXPECT_FALSE(exists(run_.folders.workDir + "after.txt"));
    EXPECT_TRUE(exists(run_.folders.systemDir + "Saver.scr"));
    EXPECT_TRUE(exists(run_.folders.workDir + "ten.txt"));
    EXPECT_EQ(feedback_.statuses, std::vector<std::string>(5, kWritingFilesStatus));
    EXPECT_EQ(feedback_.steps, 5);

    run_.postInstallFile = true;
    EXPECT_EQ(extractInstallEntries(run_, run_.workingCopy), kOk);
    EXPECT_TRUE(exists(run_.folders.workDir + "after.txt"));
}

TEST_F(InstallEntries, AnEmptySlotEndsTheRow) {
    build(false);
    EXPECT_EQ(extractInstallEntries(run_, run_.workingCopy), kErrEmptySlot);
    EXPECT_TRUE(exists(run_.folders.systemDir + "Saver.scr"));
    EXPECT_FALSE(exists(run_.folders.workDir + "saver.dat"));
    EXPECT_FALSE(exists(run_.folders.workDir + "nine.txt"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(kErrEmptySlot, ""));
}

TEST_F(InstallEntries, ACancelDuringASlotLetsItFinishAndStopsTheRow) {
    build(true);
    feedback_.cancelAtStep = 1;  // Cancel clicked while slot 6 is being written
    EXPECT_EQ(extractInstallEntries(run_, run_.workingCopy), kOk);
    EXPECT_EQ(readFile(run_.folders.systemDir + "Saver.scr"), bytesOf("6"));
    EXPECT_FALSE(exists(run_.folders.workDir + "seven.txt"));
    EXPECT_EQ(feedback_.steps, 1);
}

TEST_F(InstallEntries, AMissingFileIsReportedWithItsPath) {
    const std::string path = run_.folders.workDir + "absent.dat";
    EXPECT_EQ(extractInstallEntries(run_, path), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(ERROR_FILE_NOT_FOUND, path));
}

}  // namespace
