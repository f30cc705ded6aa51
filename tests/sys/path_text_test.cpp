#include "sys/path_text.h"

#include <gtest/gtest.h>

namespace {

TEST(PathText, FolderPartEndsAtTheLastBackslashOrColon) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\a\\b.txt", "C:\\a\\"}, {"C:b.txt", "C:"}, {"b.txt", ""},
        {"C:\\a\\", "C:\\a\\"},      {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(folderPartOf(c.path), c.folder) << c.path;
}

TEST(PathText, ParentOfARootIsNeverLongerThanItself) {
    const struct {
        const char* folder;
        const char* parent;
    } cases[] = {
        {"C:\\a\\b\\", "C:\\a\\"},
        {"C:\\a\\b", "C:\\a\\"},
        {"Q:\\", "Q:"},
        {"Q:", "Q:"},
        {"\\", ""},
        {"", ""},
        {"name", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(parentFolderOf(c.folder), c.parent) << c.folder;
}

TEST(PathText, ExtensionIsLowerCasedAndTakenFromTheNameOnly) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        {"C:\\x\\Saver.SCR", ".scr"},       {"saver.scr", ".scr"}, {"C:\\x.y\\saver", ""},
        {"C:\\x\\archive.tar.DAT", ".dat"}, {"scr", ""},           {"C:\\x\\.Scr", ".scr"},
    };
    for (const auto& c : cases) EXPECT_EQ(lowerCaseExtension(c.path), c.extension) << c.path;
}

}  // namespace
