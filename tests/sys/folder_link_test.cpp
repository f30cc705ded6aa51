// deleteFolderTree meeting folder links. Run through run-with-folder-links.sh, which makes
//   tree\own.txt, tree\link -> target, planted -> target, target\keep.txt, target\sub\deep.txt
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "sys/file_operations.h"

namespace {

std::string linkFolder() {
    const char* folder = std::getenv("NRV_LINK_FOLDER");
    return folder != nullptr ? folder : "";
}

// Wine 8 reports a Unix link as a reparse point but cannot remove it from the Windows side
// (RemoveDirectoryA acts on the target), so there the link stays and the tree is reported
// as not removed; on Windows the link itself goes.
bool runningOnWine() {
    return ::GetProcAddress(::GetModuleHandleA("ntdll"), "wine_get_version") != nullptr;
}

void expectTargetUntouched(const std::string& root) {
    EXPECT_TRUE(fileExists(root + "target\\keep.txt"));
    EXPECT_TRUE(fileExists(root + "target\\sub\\deep.txt"));
}

class FolderLink : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = linkFolder();
        ASSERT_FALSE(root_.empty()) << "run through tests/sys/run-with-folder-links.sh";
        const DWORD attributes = ::GetFileAttributesA((root_ + "tree\\link").c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
        ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << "the link is not a reparse point";
    }
    std::string root_;
};

TEST_F(FolderLink, ALinkInsideTheTreeIsNotFollowed) {
    const ResultCode result = deleteFolderTree(root_ + "tree\\");
    expectTargetUntouched(root_);
    EXPECT_FALSE(fileExists(root_ + "tree\\own.txt"));
    if (runningOnWine()) {
        EXPECT_EQ(result, kErrFolderNotRemoved);
    } else {
        EXPECT_EQ(result, kOk);
        EXPECT_FALSE(folderExists(root_ + "tree"));
    }
}

TEST_F(FolderLink, ALinkPlantedAsTheFolderItselfIsNotFollowed) {
    const ResultCode result = deleteFolderTree(root_ + "planted\\");
    expectTargetUntouched(root_);
    if (runningOnWine()) {
        EXPECT_EQ(result, kErrFolderNotRemoved);
    } else {
        EXPECT_EQ(result, kOk);
        EXPECT_EQ(::GetFileAttributesA((root_ + "planted").c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

}  // namespace
