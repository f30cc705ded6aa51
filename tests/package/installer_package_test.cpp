// A whole installer made by the authoring tool, taken through the package steps of start-up
// and install.
#include <gtest/gtest.h>

#include "package/entry_extraction.h"
#include "package/saver_files.h"
#include "package/working_copy.h"
#include "package_test_support.h"
#include "sys/file_operations.h"
#include "tool/package_builder.h"

namespace {

class InstallerPackage : public PackageTest {};

TEST_F(InstallerPackage, StartUpAndInstallStepsOfABuiltInstaller) {
    if (!haveImplodeLibrary()) GTEST_SKIP() << "no impborl.dll in this build";
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const Bytes stub = readFile(self);  // this program carries INSTALLER_SIZE_IN_BYTES too

    const Bytes movie = patternBytes(20000, 3);
    SaverDataInput saverData;
    saverData.firstDataFileMode = 3;
    saverData.files = {{"installer.swf", {}, true}, {"images\\a.jpg", patternBytes(9000, 4)}};
    saverData.storage.storage = Storage::Imploded;
    Bytes saverDataFile;
    std::string error;
    ASSERT_TRUE(buildSaverDataFile(saverData, saverDataFile, error)) << error;

    Manifest manifest;
    manifest.installMode = 2;
    manifest.saverName = "Aquarium";
    manifest.slots[kSlotImplodeLibrary] =
        SlotInput{"impborl.dat", 4, readFile(implodeLibraryPath())};
    manifest.slots[kSlotPreview] = SlotInput{"installer.swf", 7, movie};
    manifest.slots[kSlotEngine] = SlotInput{"Aquarium.scr", 2, patternBytes(30000, 5)};
    manifest.slots[kSlotSaverData] = SlotInput{"saver.dat", 7, saverDataFile};
    manifest.slots[7] = SlotInput{"readme.txt", 1, bytesOf("read me")};
    manifest.slots[9] = SlotInput{"helper.dat", 3, bytesOf("helper")};
    manifest.slots[10] = SlotInput{"notes.txt", 10, bytesOf("notes")};
    manifest.slots[kSlotPreview]->storage.storage = Storage::Imploded;
    Bytes installer;
    ASSERT_TRUE(buildInstaller(manifest, stub, installer, error)) << error;

    run_.installerPath = root_ + "Aquarium Setup.exe";
    writeFile(run_.installerPath, installer);
    setRunningInstallerSize(static_cast<std::int32_t>(stub.size()));

    ASSERT_EQ(makeWorkingCopy(run_), kOk);
    ASSERT_EQ(readInstallerHeader(run_), kOk);
    EXPECT_TRUE(exists(run_.folders.workDir + "impborl.dll"));
    setSaverPaths(run_);
    EXPECT_EQ(run_.saverDataDir, run_.folders.vendorDataDir + "Aquarium\\");
    ASSERT_EQ(extractPreviewEntry(run_), kOk);
    EXPECT_EQ(readFile(run_.folders.workDir + "installer.swf"), movie);

    createFolderTree(run_.saverDataDir);
    ASSERT_EQ(extractInstallEntries(run_, run_.workingCopy), kOk);
    EXPECT_EQ(readFile(run_.folders.systemDir + "Aquarium.scr"), patternBytes(30000, 5));
    EXPECT_EQ(readFile(run_.saverDataDir + "readme.txt"), bytesOf("read me"));
    EXPECT_EQ(readFile(run_.folders.vendorDataDir + "helper.dll"), bytesOf("helper"));
    EXPECT_EQ(readFile(run_.saverDataDir + "notes.txt"), bytesOf("notes"));
    ASSERT_EQ(writeSaverFiles(run_), kOk);
    EXPECT_FALSE(run_.saverDataReader->dataFileOpen);
    EXPECT_EQ(readFile(run_.saverDataDir + "installer.swf"), movie);
    EXPECT_EQ(readFile(run_.saverDataDir + "images\\a.jpg"), patternBytes(9000, 4));
    EXPECT_TRUE(boxes().empty());
}

}  // namespace
