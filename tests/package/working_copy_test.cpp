#include "package/working_copy.h"

#include <gtest/gtest.h>

#include "app/install_error.h"
#include "package_test_support.h"
#include "sys/win_handle.h"

namespace {

class WorkingCopy : public PackageTest {
  protected:
    void SetUp() override {
        PackageTest::SetUp();
        setRunningInstallerSize(static_cast<std::int32_t>(WorkingCopyBuilder().programSize()));
    }
    void writeWorkingCopy(const Bytes& bytes) { writeFile(run_.workingCopy, bytes); }
};

TEST_F(WorkingCopy, PathsComeFromTheFolders) {
    RunState run;
    run.folders.workDir = "C:\\work\\";
    setInstallerPaths(run);
    EXPECT_EQ(run.workingCopy, "C:\\work\\temp.dat");
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_EQ(run.installerPath, self);

    run.installerPath = "D:\\given.exe";
    setInstallerPaths(run);
    EXPECT_EQ(run.installerPath, "D:\\given.exe");
}

TEST_F(WorkingCopy, CopiesTheInstallerOverAnOldCopy) {
    run_.installerPath = root_ + "installer.exe";
    writeFile(run_.installerPath, patternBytes(5000));
    writeWorkingCopy(bytesOf("old"));
    SetFileAttributesA(run_.workingCopy.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(makeWorkingCopy(run_), kOk);
    EXPECT_EQ(readFile(run_.workingCopy), patternBytes(5000));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WorkingCopy, AnOldCopyInUseGivesTheWorkingCopyMessageAndTheRealCode) {
    run_.installerPath = root_ + "installer.exe";
    writeFile(run_.installerPath, patternBytes(100));
    writeWorkingCopy(bytesOf("old"));
    UniqueFile held(CreateFileA(run_.workingCopy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.valid());
    EXPECT_EQ(makeWorkingCopy(run_), kErrFileInUse);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(kErrWorkingCopy, run_.workingCopy));
}

TEST_F(WorkingCopy, AMissingInstallerGivesTheSystemsCopyError) {
    run_.installerPath = root_ + "absent.exe";
    EXPECT_EQ(makeWorkingCopy(run_), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(kErrWorkingCopy, run_.workingCopy));
}

TEST_F(WorkingCopy, ReadsTheHeaderAndExtractsTheImplodeLibrary) {
    WorkingCopyBuilder builder;
    builder.header.installMode = 8;
    builder.header.saverName = {'A', 'q', 'u', 'a'};
    builder.add(1, "impborl.dat", 4, bytesOf("library bytes"));
    builder.add(8, "saver.dat", 7, bytesOf("data"));
    writeWorkingCopy(builder.bytes());

    EXPECT_EQ(readInstallerHeader(run_), kOk);
    EXPECT_EQ(run_.header.installMode, 8);
    EXPECT_EQ(run_.header.entries[1].name, "impborl.dat");
    EXPECT_EQ(readFile(run_.folders.workDir + "impborl.dll"), bytesOf("library bytes"));
    EXPECT_TRUE(feedback_.statuses.empty());
    EXPECT_EQ(feedback_.steps, 0);

    setSaverPaths(run_);
    EXPECT_EQ(run_.saverName, "Aqua");
    EXPECT_EQ(run_.saverDataDir, run_.folders.vendorDataDir + "Aqua\\");
    EXPECT_EQ(run_.saverDataFilePath, run_.folders.workDir + "saver.dat");
}

TEST_F(WorkingCopy, SaverNamesThatAreNoPlainFolderNameAreRefused) {
    for (const char* name : {"", "..", ". .", "..\\..\\Windows", "a/b", "C:x"}) {
        SCOPED_TRACE(name);
        boxes().clear();
        run_.saverName = name;
        EXPECT_EQ(checkSaverName(run_), kErrUnsafeName);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, installErrorText(kErrUnsafeName, name));
    }
    boxes().clear();
    run_.saverName = "Aquarium Screen Saver";
    EXPECT_EQ(checkSaverName(run_), kOk);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(WorkingCopy, ShortOrMissingPackages) {
    WorkingCopyBuilder builder;
    builder.add(1, "impborl.dat", 4, bytesOf("library bytes"));
    const Bytes whole = builder.bytes();
    const struct {
        const char* what;
        std::size_t size;
        ResultCode result;
    } cases[] = {
        {"the program alone", builder.programSize(), kErrShortHeader},
        {"cut inside the header", builder.programSize() + 1000, kErrShortHeader},
        {"one byte short of the header", builder.programSize() + kInstallerHeaderSize - 1,
         kErrShortHeader},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes().clear();
        writeWorkingCopy(Bytes(whole.begin(), whole.begin() + c.size));
        EXPECT_EQ(readInstallerHeader(run_), c.result);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, installErrorText(c.result, run_.workingCopy));
        // The file was closed: it can be deleted at once.
        EXPECT_TRUE(DeleteFileA(run_.workingCopy.c_str()));
    }
}

TEST_F(WorkingCopy, AnEmptyImplodeLibrarySlotEndsWithEmptySlot) {
    writeWorkingCopy(WorkingCopyBuilder().bytes());
    EXPECT_EQ(readInstallerHeader(run_), kErrEmptySlot);
    EXPECT_TRUE(DeleteFileA(run_.workingCopy.c_str()));
}

TEST_F(WorkingCopy, AWorkingCopyThatCannotBeOpenedIsReportedWithItsPath) {
    EXPECT_EQ(readInstallerHeader(run_), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, installErrorText(ERROR_FILE_NOT_FOUND, run_.workingCopy));
}

}  // namespace
