#include <gtest/gtest.h>

#include "tests/tool/temp_folder.h"
#include "tests/tool/test_packages.h"
#include "tool/manifest_file.h"

namespace {

const char* const kManifest = R"(
installMode = 8
hasLicense = true
hasPostInstallFile = 0
carriesFlashInstaller = false
flashAXInstallerVersion = 1
offerControlPanel = 1
saverName = "Caf\u00e9 Night"

[slots.1]
file = "lib/impborl.dll"
name = "impborl.dat"
kind = 4

[slots.6]
file = "engine.scr"
kind = 2
storage = "imploded"
literalMode = "ascii"
dictionary = 2048

[slots.8]
name = "night.dat"
kind = 7
[slots.8.saverData]
folder = "data"
settings = "settings.bin"
previewCopy = "movie.swf"
copies = ["copy.swf"]
storage = "stored"
)";

TEST(Manifest, ReadsHeaderFieldsSlotsAndTheDataFolder) {
    TempFolder folder;
    folder.write("lib/impborl.dll", "library");
    folder.write("engine.scr", "engine");
    folder.write("settings.bin", std::string(1240, 's'));
    folder.write("data/b.txt", "bee");
    folder.write("data/sub/a.txt", "ay");
    const auto path = folder.write("m.toml", kManifest);

    Manifest manifest;
    std::string error;
    ASSERT_TRUE(loadManifest(path, manifest, error)) << error;
    EXPECT_EQ(manifest.installMode, 8);
    EXPECT_EQ(manifest.hasLicense, 1);
    EXPECT_EQ(manifest.hasPostInstallFile, 0);
    EXPECT_EQ(manifest.flashAXInstallerVersion, 1);
    EXPECT_EQ(manifest.offerControlPanel, 1);
    EXPECT_EQ(manifest.saverName, "Caf\xC3\xA9 Night");
    ASSERT_TRUE(manifest.slots[1]);
    EXPECT_EQ(manifest.slots[1]->name, "impborl.dat");
    EXPECT_EQ(manifest.slots[1]->bytes, bytesOf("library"));
    ASSERT_TRUE(manifest.slots[6]);
    EXPECT_EQ(manifest.slots[6]->name, "engine.scr");  // the file's own name by default
    EXPECT_EQ(manifest.slots[6]->storage.storage, Storage::Imploded);
    EXPECT_EQ(manifest.slots[6]->storage.literalMode, dcl::LiteralMode::Ascii);
    EXPECT_EQ(manifest.slots[6]->storage.dictionaryBytes, 2048u);
    EXPECT_FALSE(manifest.slots[2]);

    ASSERT_TRUE(manifest.slots[8]);
    const auto& data = manifest.slots[8]->bytes;
    SaverDataRecord record;
    std::copy_n(data.begin(), kSaverDataRecordSize, record.bytes.begin());
    EXPECT_EQ(record.dataFileCount(), 4);  // preview copy, two files, one copy
    EXPECT_EQ(record.firstDataFileMode(), 3);
    EXPECT_EQ(record.bytes[0], 's');
    std::vector<std::string> names;
    for (int i = 0; i < 4; ++i) {
        names.push_back(
            decodeDataFileRecord(std::span(data)
                                     .subspan(kSaverDataRecordSize + kDataFileRecordSize * i)
                                     .first<kDataFileRecordSize>())
                .fileName);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"movie.swf", "b.txt", "sub\\a.txt", "copy.swf"}));
}

TEST(Manifest, ProblemsNameTheirPlace) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"saverName = \"x\"\ninstallMod = 1\n", "unknown key \"installMod\""},
        {"installMode = 1\n", "saverName is missing"},
        {"saverName = \"x\"\ninstallMode = 300\n",
         "installMode must be a whole number from 0 to 255"},
        {"saverName = \"x\"\nhasLicense = \"yes\"\n", "hasLicense must be true, false or a number"},
        {"saverName = \"x\"\n[slots.6]\nfile = \"e.scr\"\n", "[slots.6] kind is missing"},
        {"saverName = \"x\"\n[slots.11]\nfile = \"e.scr\"\nkind = 1\n", "[slots.11] is not a slot"},
        {"saverName = \"x\"\n[slots.0]\nfile = \"e.scr\"\nkind = 1\n", "[slots.0] is not a slot"},
        {"saverName = \"x\"\n[slots.6]\nfile = \"missing.scr\"\nkind = 2\n", "[slots.6] file: \""},
        {"saverName = \"x\"\n[slots.6]\nfile = \"e.scr\"\nkind = 2\nstorage = \"zip\"\n",
         "[slots.6] storage must be \"auto\", \"stored\" or \"imploded\""},
        {"saverName = \"x\"\n[slots.6]\nfile = \"e.scr\"\nkind = 2\ndictionary = 3000\n",
         "[slots.6] dictionary must be 1024, 2048 or 4096"},
        {"saverName = \"x\"\n[slots.6]\nkind = 2\n", "[slots.6] needs file"},
        {"saverName = \"x\"\n[slots.8]\nname = \"d.dat\"\nkind = 7\n[slots.8.saverData]\n",
         "[slots.8.saverData] folder is missing"},
        {"saverName = \"x\"\n[slots.8]\nname = \"d.dat\"\nkind = 7\n[slots.8.saverData]\n"
         "folder = \"data\"\nsettings = \"e.scr\"\n",
         "[slots.8.saverData] the settings record has 1 bytes; it must have 1240"},
        {"saverName = \"x\"\n[slots.8]\nname = \"d.dat\"\nkind = 7\n[slots.8.saverData]\n"
         "folder = \"data\"\ncopies = [\"..\\\\up.swf\"]\n",
         "[slots.8.saverData] data file 2 \"..\\up.swf\": the name leaves the saver's folder"},
        {"saverName = \"x\"\n[slots.6\n", "manifest line 2"},
    };
    TempFolder folder;
    folder.write("e.scr", "e");
    folder.write("data/one.txt", "1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Manifest manifest;
        std::string error;
        EXPECT_FALSE(parseManifest(c.text, folder.path(), manifest, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

}  // namespace
