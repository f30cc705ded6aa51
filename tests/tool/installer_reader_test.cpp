#include <gtest/gtest.h>

#include "tests/tool/synthetic_pe.h"
#include "tests/tool/test_packages.h"
#include "tool/inspect_output.h"
#include "tool/installer_reader.h"

namespace {

std::vector<std::uint8_t> sampleInstaller(const Manifest& manifest = sampleManifest(),
                                          bool check = true) {
    std::vector<std::uint8_t> installer;
    std::string error;
    BuildOptions options;
    options.checkPackage = check;
    EXPECT_TRUE(
        buildInstaller(manifest, makeSyntheticPe({.pe32Plus = true}), installer, error, options))
        << error;
    return installer;
}

// Rewrites one slot's entry in a finished installer.
void changeEntry(std::vector<std::uint8_t>& installer, std::size_t slot,
                 const std::function<void(PackageEntry&)>& change) {
    const std::size_t at = makeSyntheticPe().size();
    const auto bytes = std::span(installer).subspan(at).first<kInstallerHeaderSize>();
    InstallerHeader header = decodeInstallerHeader(bytes);
    change(header.entries[slot]);
    encodeInstallerHeader(header, bytes);
}

std::string problemsOf(const std::vector<std::uint8_t>& installer) {
    InstallerView view;
    std::string error;
    EXPECT_TRUE(readInstaller(installer, view, error)) << error;
    std::string text;
    for (const auto& problem : view.problems) text += problem + "\n";
    return text;
}

TEST(InstallerReader, AWellMadeInstallerHasNoProblems) {
    const auto installer = sampleInstaller();
    InstallerView view;
    std::string error;
    ASSERT_TRUE(readInstaller(installer, view, error)) << error;
    EXPECT_TRUE(view.problems.empty()) << view.problems.front();
    EXPECT_TRUE(view.pe32Plus);
    EXPECT_EQ(view.installerSize, static_cast<std::int32_t>(makeSyntheticPe().size()));
    EXPECT_EQ(view.slots[6].entry.name, "sample.scr");
    EXPECT_TRUE(view.slots[6].inFile);
    ASSERT_TRUE(view.saverData);
    ASSERT_EQ(view.saverData->files.size(), 3u);
    EXPECT_EQ(view.saverData->files[1].record.fileName, "pics\\b.txt");
    EXPECT_EQ(view.saverData->files[1].block.fileSize, 5000);
    EXPECT_EQ(view.saverData->files[1].block.compressed, 1);
}

TEST(InstallerReader, FindsWhatTheStubWouldFailOn) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* problem;
    };
    const std::vector<Case> cases = {
        {"end past the file", [](auto& f) { f.resize(f.size() - 1); },
         "slot 10 \"extra3.txt\": endOffset"},
        {"no bytes",
         [](auto& f) {
             changeEntry(f, 9, [](PackageEntry& e) { e.endOffset = e.startOffset - 1; });
         },
         "slot 9 \"extra2.txt\": holds no bytes"},
        {"inside the header",
         [](auto& f) { changeEntry(f, 7, [](PackageEntry& e) { e.startOffset = 100; }); },
         "slot 7 \"extra1.txt\": startOffset 100 lies inside the program or the header"},
        {"wrong expanded size",
         [](auto& f) { changeEntry(f, 4, [](PackageEntry& e) { e.expandedSize -= 1; }); },
         "slot 4 \"licence.rtf\": the imploded bytes do not explode to expandedSize 2999"},
        {"imploded library",
         [](auto& f) { changeEntry(f, 1, [](PackageEntry& e) { e.compressed = true; }); },
         "slot 1 \"impborl.dat\": the implode library is imploded"},
        {"unsafe name",
         [](auto& f) { changeEntry(f, 7, [](PackageEntry& e) { e.name = "..\\boot.ini"; }); },
         "slot 7 \"..\\boot.ini\": the name contains a folder separator"},
        {"empty slot", [](auto& f) { changeEntry(f, 10, [](PackageEntry& e) { e.name.clear(); }); },
         "slot 10: is empty, but every install extracts slots 6 to 10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto installer = sampleInstaller();
        c.damage(installer);
        const std::string problems = problemsOf(installer);
        EXPECT_NE(problems.find(c.problem), std::string::npos) << problems;
    }
}

TEST(InstallerReader, ChecksTheSaverDataFile) {
    Manifest manifest = sampleManifest();
    manifest.slots[8]->storage.storage = Storage::Stored;  // so the test can reach its bytes
    auto installer = sampleInstaller(manifest);
    InstallerView view;
    std::string error;
    ASSERT_TRUE(readInstaller(installer, view, error));
    const std::size_t dataAt = static_cast<std::size_t>(view.slots[8].entry.startOffset);

    auto damaged = installer;
    // Data file 3's name becomes absolute; data file 1's block points past the end.
    damaged[dataAt + kSaverDataRecordSize + 2 * kDataFileRecordSize + 2] = '\\';
    storeLittleEndian32(damaged, dataAt + kSaverDataRecordSize + 260, 0x7FFFFF00);
    const std::string problems = problemsOf(damaged);
    EXPECT_NE(problems.find("slot 8 \"sample.dat\" data file 3 \"\\.bin\": the name is absolute"),
              std::string::npos)
        << problems;
    EXPECT_NE(problems.find("data file 1 \"a.bin\": dataOffset 2147483392 is outside"),
              std::string::npos)
        << problems;

    // A count past the table the stub keeps.
    damaged = installer;
    storeLittleEndian32(damaged, dataAt + 212, 1011);
    EXPECT_NE(problemsOf(damaged).find("dataFileCount is 1011; it must be 0 to 1010"),
              std::string::npos);
}

// Hostile installers: every damage gives a problem line or a clear error, never a fault (the
// native build runs this under ASan and UBSan).
TEST(InstallerReader, HostileInstallersGiveProblemsNotFaults) {
    Manifest manifest = sampleManifest();
    manifest.slots[8]->storage.storage = Storage::Stored;  // so the cases can reach its bytes
    const auto installer = sampleInstaller(manifest);
    const std::size_t headerAt = makeSyntheticPe().size();
    InstallerView good;
    std::string error;
    ASSERT_TRUE(readInstaller(installer, good, error));
    const std::size_t dataAt = static_cast<std::size_t>(good.slots[8].entry.startOffset);
    const std::size_t table = dataAt + kSaverDataRecordSize;
    const std::size_t sizeField = 0x600;  // the synthetic stub's INSTALLER_SIZE_IN_BYTES
    ASSERT_EQ(good.saverData->files.size(), 3u);
    ASSERT_FALSE(good.saverData->files[0].block.compressed);
    ASSERT_TRUE(good.saverData->files[1].block.compressed);
    const std::size_t blockA = dataAt + good.saverData->files[0].record.dataOffset;
    const std::size_t blockB = dataAt + good.saverData->files[1].record.dataOffset;

    auto entry = [](std::size_t slot, std::function<void(PackageEntry&)> change) {
        return [slot, change](std::vector<std::uint8_t>& f) { changeEntry(f, slot, change); };
    };
    auto put = [](std::size_t at, std::int32_t value) {
        return [at, value](std::vector<std::uint8_t>& f) { storeLittleEndian32(f, at, value); };
    };
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> damage;
        const char* expected;  // in the problems, or in the error when readInstaller refuses
    };
    const std::vector<Case> cases = {
        {"size field negative", put(sizeField, -1), "no package: INSTALLER_SIZE_IN_BYTES is -1"},
        {"header one byte short", [&](auto& f) { f.resize(headerAt + kInstallerHeaderSize - 1); },
         "no package"},
        {"size field points at the stub itself", put(sizeField, 0), ""},
        {"start at the lowest offset, end at the highest",
         entry(7, [](PackageEntry& e) { e.startOffset = INT32_MIN, e.endOffset = INT32_MAX; }),
         "slot 7 \"extra1.txt\": startOffset -2147483648 lies inside"},
        {"both offsets at the highest",
         entry(7, [](PackageEntry& e) { e.startOffset = INT32_MAX, e.endOffset = INT32_MAX; }),
         "slot 7 \"extra1.txt\": endOffset 2147483647 lies past the end"},
        {"imploded, huge expandedSize",
         entry(4, [](PackageEntry& e) { e.expandedSize = INT32_MAX; }),
         "slot 4 \"licence.rtf\": the imploded bytes do not explode"},
        {"imploded, negative expandedSize",
         entry(4, [](PackageEntry& e) { e.expandedSize = INT32_MIN; }), "is negative"},
        {"stored bytes claimed imploded", entry(7, [](PackageEntry& e) { e.compressed = true; }),
         "slot 7 \"extra1.txt\": the imploded bytes do not explode"},
        {"name of control bytes and quotes",
         entry(9, [](PackageEntry& e) { e.name = std::string("\"\x01\x1b\\\x7f\x81\0", 7); }),
         "the name contains"},
        {"dataFileCount huge", put(dataAt + 212, INT32_MAX),
         "dataFileCount is 2147483647; it must be 0 to 1010"},
        {"dataFileCount lowest", put(dataAt + 212, INT32_MIN),
         "dataFileCount is -2147483648; it must be 0 to 1010"},
        {"dataOffset negative", put(table + 260, -44), "dataOffset -44 is outside"},
        {"dataOffset near the top", put(table + 260, INT32_MAX - 10), "is outside"},
        {"stored block, fileSize huge", put(blockA + 8, INT32_MAX),
         "data file 1 \"a.bin\": the stored bytes run past the end"},
        {"stored block, fileSize negative", put(blockA + 8, -5), "fileSize is negative"},
        {"imploded block, compressedSize huge", put(blockB + 12, INT32_MAX),
         "data file 2 \"pics\\b.txt\": compressedSize 2147483647 does not fit"},
        {"imploded block, compressedSize negative", put(blockB + 12, -1),
         "compressedSize -1 does not fit"},
        {"imploded block, fileSize huge", put(blockB + 8, INT32_MAX),
         "the imploded bytes do not explode to fileSize 2147483647"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto damaged = installer;
        c.damage(damaged);
        InstallerView view;
        std::string text;
        if (readInstaller(damaged, view, error)) {
            for (const auto& problem : view.problems) text += problem + "\n";
            describeInstaller(view);
            installerJson(view);
        } else {
            text = error;
        }
        EXPECT_NE(text.find(c.expected), std::string::npos) << text;
    }
}

// A name is the package's, not ours: a NUL in it must not end the printed text early, an ESC
// must not reach the terminal, and JSON escapes them.
TEST(InstallerReader, InspectShowsHostileNamesWhole) {
    auto installer = sampleInstaller();
    changeEntry(installer, 9, [](PackageEntry& e) { e.name = std::string("a\0\x1b\xE9\"", 5); });
    InstallerView view;
    std::string error;
    ASSERT_TRUE(readInstaller(installer, view, error)) << error;
    const std::string text = describeInstaller(view);
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_NE(text.find("  9     a\\x00\\x1B\xC3\xA9\""), std::string::npos) << text;
    EXPECT_NE(text.find("  10    extra3.txt"), std::string::npos) << text;
    EXPECT_NE(text.find("slot 9 \"a\\x00\\x1B\xC3\xA9\"\": the name contains"), std::string::npos)
        << text;
    EXPECT_EQ(printableText(std::string("\t\x7f\x80", 3)), "\\x09\\x7F\xE2\x82\xAC");

    const std::string json = installerJson(view);
    EXPECT_NE(json.find("\"name\": \"a\\u0000\\u001b\xC3\xA9\\\"\""), std::string::npos) << json;
}

TEST(InstallerReader, NoPackageIsAnError) {
    InstallerView view;
    std::string error;
    EXPECT_FALSE(readInstaller(makeSyntheticPe(), view, error));  // unpatched stub alone
    EXPECT_NE(error.find("no package: INSTALLER_SIZE_IN_BYTES is 2147483647"), std::string::npos)
        << error;
    auto cut = sampleInstaller();
    cut.resize(makeSyntheticPe().size() + 100);
    EXPECT_FALSE(readInstaller(cut, view, error));
}

TEST(InstallerReader, InspectShowsTheFields) {
    const auto installer = sampleInstaller();
    InstallerView view;
    std::string error;
    ASSERT_TRUE(readInstaller(installer, view, error));
    const std::string text = describeInstaller(view);
    EXPECT_NE(text.find("  saverName: \"Sample Saver\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  installMode: 1 (bitmap picture preview)\n"), std::string::npos);
    EXPECT_NE(text.find("the screen saver engine"), std::string::npos);
    EXPECT_NE(text.find("pics\\b.txt"), std::string::npos);
    EXPECT_EQ(text.find("problems:"), std::string::npos);

    const std::string json = installerJson(view);
    EXPECT_NE(json.find("\"saverName\": \"Sample Saver\""), std::string::npos) << json;
    EXPECT_NE(json.find("{\"slot\": 6, \"name\": \"sample.scr\", \"kind\": 2, \"role\": \"the "
                        "screen saver engine\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"name\": \"pics\\\\b.txt\""), std::string::npos) << json;  // escaped
    EXPECT_NE(json.find("\"problems\": []"), std::string::npos);
}

}  // namespace
