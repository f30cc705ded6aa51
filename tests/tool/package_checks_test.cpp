#include <gtest/gtest.h>

#include <functional>

#include "tests/tool/synthetic_pe.h"
#include "tests/tool/test_packages.h"
#include "tool/ansi_text.h"
#include "tool/package_builder.h"
#include "tool/package_checks.h"

namespace {

struct RefusalCase {
    const char* what;
    std::function<void(Manifest&)> change;
    std::string message;  // a part of the refusal, which names the manifest entry
};

std::string refusalOf(const Manifest& manifest) {
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_FALSE(buildInstaller(manifest, makeSyntheticPe(), installer, error));
    EXPECT_TRUE(installer.empty());
    return error;
}

TEST(PackageChecks, SampleManifestIsAccepted) {
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_TRUE(buildInstaller(sampleManifest(), makeSyntheticPe(), installer, error)) << error;
}

TEST(PackageChecks, RefusesWhatTheStubWouldFailOnOrBeHarmedBy) {
    const std::vector<RefusalCase> cases = {
        {"slot 1 kind", [](Manifest& m) { m.slots[1]->kind = 7; },
         "[slots.1] \"impborl.dat\": kind 7 does not suit the implode library; it needs kind 4"},
        {"slot 1 name", [](Manifest& m) { m.slots[1]->name = "impborl.dll"; },
         "[slots.1] \"impborl.dll\": the implode library must be named \"impborl.dat\""},
        {"slot 1 imploded", [](Manifest& m) { m.slots[1]->storage.storage = Storage::Imploded; },
         "[slots.1] \"impborl.dat\": the implode library must be stored"},
        {"slot 1 empty", [](Manifest& m) { m.slots[1].reset(); },
         "[slots.1]: is empty, but every run extracts it at start-up"},
        {"slot 2 needed", [](Manifest& m) { m.carriesFlashInstaller = 1; },
         "[slots.2]: is empty, but carriesFlashInstaller is set"},
        {"slot 2 name",
         [](Manifest& m) {
             m.slots[2] = SlotInput{"flash.exe", 3, bytesOf("MZ")};
         },
         "[slots.2] \"flash.exe\": the Flash Player installer must be named"},
        {"slot 2 kind",
         [](Manifest& m) {
             m.slots[2] = SlotInput{"install_flash_player_active_x.exe", 7, bytesOf("MZ")};
         },
         "kind 7 does not suit the Flash Player installer; it needs kind 3"},
        {"flash row",
         [](Manifest& m) {
             m.carriesFlashInstaller = 1;
             m.flashAXInstallerVersion = 2;
             m.slots[2] = SlotInput{"install_flash_player_active_x.exe", 3, bytesOf("MZ")};
         },
         "flashAXInstallerVersion is 2"},
        {"slot 3 needed", [](Manifest& m) { m.slots[3].reset(); },
         "[slots.3]: is empty, but installMode is not 4"},
        {"slot 3 kind", [](Manifest& m) { m.slots[3]->kind = 1; },
         "[slots.3] \"preview.bmp\": kind 1 does not suit the preview; it needs kind 4 or 7"},
        {"slot 4 needed", [](Manifest& m) { m.slots[4].reset(); },
         "[slots.4]: is empty, but hasLicense is set"},
        {"slot 4 kind", [](Manifest& m) { m.slots[4]->kind = 3; },
         "kind 3 does not suit the licence"},
        {"slot 5 needed", [](Manifest& m) { m.slots[5].reset(); },
         "[slots.5]: is empty, but hasPostInstallFile is set"},
        {"slot 5 kind", [](Manifest& m) { m.slots[5]->kind = 2; },
         "kind 2 does not suit the post-install file"},
        {"slot 6 kind", [](Manifest& m) { m.slots[6]->kind = 1; },
         "[slots.6] \"sample.scr\": kind 1 does not suit the screen saver engine; it needs kind 2"},
        {"slot 6 empty", [](Manifest& m) { m.slots[6].reset(); },
         "[slots.6]: is empty, but every install extracts it"},
        {"slot 7 empty", [](Manifest& m) { m.slots[7].reset(); },
         "[slots.7]: is empty, but every install extracts slots 6 to 10"},
        {"slot 7 kind 8", [](Manifest& m) { m.slots[7]->kind = 8; },
         "[slots.7] \"extra1.txt\": kind 8 has no destination; it needs kind 1 to 7 or 10"},
        {"slot 9 kind 0", [](Manifest& m) { m.slots[9]->kind = 0; },
         "[slots.9] \"extra2.txt\": kind 0"},
        {"slot 10 kind 11", [](Manifest& m) { m.slots[10]->kind = 11; },
         "[slots.10] \"extra3.txt\": kind 11"},
        {"slot 8 kind", [](Manifest& m) { m.slots[8]->kind = 2; },
         "kind 2 does not suit the saver data file"},
        {"slot 8 short", [](Manifest& m) { m.slots[8]->bytes.resize(100); },
         "[slots.8]: the saver data file has 100 bytes, fewer than its 1240-byte record"},
        {"slot 0",
         [](Manifest& m) {
             m.slots[0] = SlotInput{"x.txt", 1, bytesOf("x")};
         },
         "[slots.0]: slot 0 is never read"},
        {"backslash", [](Manifest& m) { m.slots[7]->name = "sub\\evil.txt"; },
         "[slots.7] \"sub\\evil.txt\": the name contains a folder separator"},
        {"slash", [](Manifest& m) { m.slots[7]->name = "../evil.txt"; },
         "the name contains a folder separator"},
        {"colon", [](Manifest& m) { m.slots[9]->name = "C:evil.txt"; },
         "[slots.9] \"C:evil.txt\": the name contains a colon"},
        {"dot", [](Manifest& m) { m.slots[9]->name = "."; }, "refers to a folder (\".\")"},
        {"dot dot", [](Manifest& m) { m.slots[9]->name = ".."; }, "refers to a folder (\"..\")"},
        {"device", [](Manifest& m) { m.slots[9]->name = "nul.txt"; }, "is a device name"},
        {"name over 255", [](Manifest& m) { m.slots[9]->name = std::string(256, 'n'); },
         "the name is longer than 255 bytes"},
        {"working copy", [](Manifest& m) { m.slots[5]->name = "TEMP.DAT"; },
         "would overwrite the installer's working copy"},
        {"same destination", [](Manifest& m) { m.slots[9]->name = "EXTRA1.TXT"; },
         "[slots.9] \"EXTRA1.TXT\": lands on the same file in the saver's folder as [slots.7]"},
        {"saver name over 64", [](Manifest& m) { m.saverName = std::string(65, 's'); },
         "saverName \"" + std::string(65, 's') + "\" is 65 bytes; at most 64 fit"},
        {"saver name not ANSI", [](Manifest& m) { m.saverName = "Star \xE2\x98\x85"; },
         "saverName \"Star \xE2\x98\x85\" has characters the ANSI code page (Windows-1252) lacks"},
        {"saver name empty", [](Manifest& m) { m.saverName.clear(); }, "saverName \"\" is empty"},
        {"saver name path", [](Manifest& m) { m.saverName = "..\\Windows"; },
         "it names the saver's folder"},
        {"names shown as written",
         [](Manifest& m) {
             m.slots[7]->name = "caf\xC3\xA9.txt";
             m.slots[7]->kind = 8;
         },
         "[slots.7] \"caf\xC3\xA9.txt\": kind 8 has no destination"},
        {"entry name not ANSI", [](Manifest& m) { m.slots[7]->name = "\xCE\xA9.txt"; },
         "[slots.7] \"\xCE\xA9.txt\": the name has characters the ANSI code page"},
        {"preview copy needs installer.swf",
         [](Manifest& m) {
             SaverDataInput data = sampleSaverData();
             data.firstDataFileMode = 3;
             data.files.insert(data.files.begin(), DataFileInput{"movie.swf", {}, true});
             std::string error;
             buildSaverDataFile(data, m.slots[8]->bytes, error);
         },
         "[slots.8] \"sample.dat\": firstDataFileMode 3 copies the preview movie, so slot 3 must "
         "be named \"installer.swf\""},
        {"empty stored file",
         [](Manifest& m) {
             m.slots[9]->bytes.clear();
             m.slots[9]->storage.storage = Storage::Stored;
         },
         "[slots.9] \"extra2.txt\": an empty file cannot be extracted when stored"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.what);
        Manifest manifest = sampleManifest();
        c.change(manifest);
        const std::string error = refusalOf(manifest);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(PackageChecks, QuietPackagesAndUnsetFlagsNeedFewerSlots) {
    Manifest manifest = sampleManifest();
    manifest.installMode = 4;
    manifest.hasLicense = 0;
    manifest.hasPostInstallFile = 0;
    manifest.slots[3].reset();
    manifest.slots[4].reset();
    manifest.slots[5].reset();
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_TRUE(buildInstaller(manifest, makeSyntheticPe(), installer, error)) << error;
}

TEST(PackageChecks, RefusesAStubWithoutTheSizeSection) {
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_FALSE(buildInstaller(sampleManifest(), makeSyntheticPe({.sizeSectionName = ".data"}),
                                installer, error));
    EXPECT_EQ(error, "stub: the program has no .instsz section, so it is not an installer stub");
    EXPECT_FALSE(buildInstaller(sampleManifest(), bytesOf("not a program"), installer, error));
    EXPECT_EQ(error, "stub: not a Windows program (no MZ header)");
}

TEST(PackageChecks, DataFileNames) {
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"a.txt", nullptr},
        {"sub\\deeper\\a.txt", nullptr},
        {"\\abs.txt", "is absolute"},
        {"/abs.txt", "is absolute"},
        {"C:\\x.txt", "names a drive or a stream"},
        {"c:x.txt", "names a drive or a stream"},
        {"\\\\server\\share\\x.txt", "is absolute"},
        {"a\\..\\..\\x.txt", "leaves the saver's folder"},
        {"..", "leaves the saver's folder"},
        {"a/b.txt", "uses \"/\""},
        {"a\\\\b.txt", "has a part that is empty"},
        {"a\\.\\b.txt", "has a part that refers to a folder"},
        {"a\\b.txt.", "ends with a dot or a space"},
        {"a\\con", "is a device name"},
        {std::string(256, 'x'), "is longer than 255 bytes"},
        {"", "is empty"},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        const auto problem = dataFileNameProblem(name);
        if (expected == nullptr) {
            EXPECT_FALSE(problem.has_value()) << *problem;
        } else {
            ASSERT_TRUE(problem.has_value());
            EXPECT_NE(problem->find(expected), std::string::npos) << *problem;
        }
    }
}

TEST(PackageChecks, AnsiConversion) {
    std::string ansi;
    EXPECT_TRUE(utf8ToWindows1252("Caf\xC3\xA9 \xE2\x82\xAC", ansi));  // é, €
    EXPECT_EQ(ansi, "Caf\xE9 \x80");
    EXPECT_EQ(windows1252ToUtf8(ansi), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_FALSE(utf8ToWindows1252("\xE2\x98\x85", ansi));  // ★ is not in the code page
    EXPECT_FALSE(utf8ToWindows1252("\xC2\x81", ansi));      // U+0081: undefined there
    EXPECT_FALSE(utf8ToWindows1252("\xC0\xAF", ansi));      // over-long "/"
    EXPECT_FALSE(utf8ToWindows1252("\xE9", ansi));          // Latin-1 byte, not UTF-8
}

}  // namespace
