#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "package/installer_size.h"
#include "package/package_format.h"
#include "tests/tool/synthetic_pe.h"
#include "tests/tool/temp_folder.h"
#include "tool/file_bytes.h"
#include "tool/pe_patch.h"

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

CliRun saverpack(const TempFolder& folder, const std::string& arguments) {
    const auto out = folder.path() / "stdout.txt";
    const auto err = folder.path() / "stderr.txt";
    const std::string command =
        std::string(SAVERPACK_PATH) + " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream o, e;
    o << std::ifstream(out).rdbuf();
    e << std::ifstream(err).rdbuf();
    run.out = o.str();
    run.err = e.str();
    return run;
}

// A manifest and its files in a folder, with a synthetic stub beside them.
void writePackageSources(const TempFolder& folder, const std::string& engineKind = "2") {
    const auto stub = makeSyntheticPe({.pe32Plus = true});
    std::string error;
    ASSERT_TRUE(writeFileBytes(folder.path() / "stub.exe", stub, error));
    folder.write("impborl.dll", "library bytes");
    folder.write("preview.bmp", std::string(3000, 'B'));
    folder.write("engine.scr", "MZ engine bytes");
    folder.write("extra.txt", "extra");
    folder.write("data/one.txt", "one one one one one one one one");
    folder.write("data/sub/two.txt", "two");
    folder.write("manifest.toml", R"(installMode = 1
saverName = "Cli Saver"
offerControlPanel = true
[slots.1]
file = "impborl.dll"
name = "impborl.dat"
kind = 4
[slots.3]
file = "preview.bmp"
kind = 7
[slots.6]
file = "engine.scr"
kind = )" + engineKind + R"(
[slots.7]
file = "extra.txt"
kind = 1
[slots.8]
name = "cli.dat"
kind = 7
[slots.8.saverData]
folder = "data"
[slots.9]
file = "extra.txt"
name = "extra9.txt"
kind = 1
[slots.10]
file = "extra.txt"
name = "extra10.txt"
kind = 1
)");
}

TEST(SaverpackCli, BuildInspectVerifyRoundTrip) {
    TempFolder folder;
    writePackageSources(folder);
    const std::string dir = folder.path().string();
    CliRun build = saverpack(folder, "build " + dir + "/manifest.toml -o " + dir +
                                         "/out.exe --stub " + dir + "/stub.exe");
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_EQ(build.err, "");  // small packages build silently
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.exe.partial"));

    CliRun inspect = saverpack(folder, "inspect " + dir + "/out.exe");
    ASSERT_EQ(inspect.exitCode, 0) << inspect.err;
    EXPECT_NE(inspect.out.find("  saverName: \"Cli Saver\"\n"), std::string::npos) << inspect.out;
    EXPECT_NE(inspect.out.find("INSTALLER_SIZE_IN_BYTES: " +
                               std::to_string(makeSyntheticPe({.pe32Plus = true}).size()) +
                               " (PE32+ stub)"),
              std::string::npos)
        << inspect.out;
    EXPECT_NE(inspect.out.find("sub\\two.txt"), std::string::npos);

    CliRun json = saverpack(folder, "inspect --json " + dir + "/out.exe");
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_NE(json.out.find("\"offerControlPanel\": 1"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"dataFileCount\": 2"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"slot\": 1, \"name\": \"impborl.dat\", \"kind\": 4"),
              std::string::npos);

    CliRun verify = saverpack(folder, "verify " + dir + "/out.exe");
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
    EXPECT_EQ(verify.out, "ok\n");
}

TEST(SaverpackCli, SameInputsGiveTheSameFile) {
    TempFolder folder;
    writePackageSources(folder);
    const std::string dir = folder.path().string();
    for (const char* name : {"first.exe", "second.exe"}) {
        ASSERT_EQ(saverpack(folder, "build " + dir + "/manifest.toml -o " + dir + "/" + name +
                                        " --stub " + dir + "/stub.exe")
                      .exitCode,
                  0);
        // Touch the sources between the builds: times must not matter.
        std::filesystem::last_write_time(folder.path() / "data/one.txt",
                                         std::filesystem::file_time_type::clock::now());
    }
    std::vector<std::uint8_t> first, second;
    std::string error;
    ASSERT_TRUE(readFileBytes(folder.path() / "first.exe", first, error));
    ASSERT_TRUE(readFileBytes(folder.path() / "second.exe", second, error));
    EXPECT_EQ(first, second);
}

TEST(SaverpackCli, RefusalsAndExitCodes) {
    TempFolder folder;
    writePackageSources(folder, "7");
    const std::string dir = folder.path().string();
    const std::string build = "build " + dir + "/manifest.toml -o " + dir + "/out.exe --stub ";

    CliRun refused = saverpack(folder, build + dir + "/stub.exe");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("[slots.6] \"engine.scr\": kind 7 does not suit the screen saver "
                               "engine; it needs kind 2"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out.exe"));

    TempFolder valid;
    writePackageSources(valid);
    const std::string validDir = valid.path().string();
    const std::string validBuild =
        "build " + validDir + "/manifest.toml -o " + validDir + "/out.exe --stub ";
    EXPECT_EQ(saverpack(valid, validBuild + validDir + "/no-such-stub.exe").exitCode, 3);
    const CliRun notStub = saverpack(valid, validBuild + validDir + "/engine.scr");
    EXPECT_EQ(notStub.exitCode, 3);
    EXPECT_NE(notStub.err.find("stub: not a Windows program"), std::string::npos) << notStub.err;
    EXPECT_EQ(saverpack(valid, "build " + validDir + "/missing.toml -o x.exe").exitCode, 3);
    // A manifest that is a loop of links: a file error, not an abort.
    std::filesystem::create_symlink("loop-b.toml", valid.path() / "loop-a.toml");
    std::filesystem::create_symlink("loop-a.toml", valid.path() / "loop-b.toml");
    EXPECT_EQ(saverpack(valid, "build " + validDir + "/loop-a.toml -o x.exe").exitCode, 3);

    // Whether a manifest's problem is a file error depends on where it comes from, not on its
    // words.
    const struct {
        const char* manifest;
        int exitCode;
    } manifestCases[] = {
        {"saverName = \"x\"\ncannot = 1\n", 1},
        {"saverName = \"x\"\n[slots.7]\nfile = \"cannot.txt\"\nkind = 1\n", 3},
        {"saverName = \"x\"\n[slots.8]\nname = \"d.dat\"\nkind = 7\n"
         "[slots.8.saverData]\nfolder = \"no-such-folder\"\n",
         3},
    };
    for (const auto& c : manifestCases) {
        SCOPED_TRACE(c.manifest);
        valid.write("case.toml", c.manifest);
        const CliRun run = saverpack(valid, "build " + validDir + "/case.toml -o " + validDir +
                                                "/case.exe --stub " + validDir + "/stub.exe");
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    }
    EXPECT_EQ(saverpack(folder, "").exitCode, 2);
    EXPECT_EQ(saverpack(folder, "frobnicate").exitCode, 2);
    EXPECT_EQ(saverpack(folder, "build " + dir + "/manifest.toml").exitCode, 2);  // no -o
    EXPECT_EQ(saverpack(folder, "inspect " + dir + "/stub.exe").exitCode, 3);     // no package
    for (const char* command : {"build", "inspect", "verify"}) {
        const CliRun help = saverpack(folder, std::string(command) + " --help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out.find(std::string("usage: saverpack ") + command), std::string::npos);
        EXPECT_NE(help.out.find("exit codes"), std::string::npos);
    }
    EXPECT_EQ(saverpack(folder, "--help").exitCode, 0);
}

TEST(SaverpackCli, VerifyListsProblemsAndFails) {
    TempFolder folder;
    writePackageSources(folder);
    const std::string dir = folder.path().string();
    ASSERT_EQ(saverpack(folder, "build " + dir + "/manifest.toml -o " + dir + "/out.exe --stub " +
                                    dir + "/stub.exe")
                  .exitCode,
              0);
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(readFileBytes(folder.path() / "out.exe", bytes, error));
    bytes.resize(bytes.size() - 2);  // the last entry now ends past the file
    ASSERT_TRUE(writeFileBytes(folder.path() / "cut.exe", bytes, error));
    const CliRun verify = saverpack(folder, "verify " + dir + "/cut.exe");
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_NE(verify.out.find("slot 10 \"extra10.txt\": endOffset"), std::string::npos)
        << verify.out;

    // A name with a NUL, an ESC and an ANSI letter: the line is printed whole, as UTF-8.
    bytes.resize(bytes.size() + 2);
    const std::size_t slot9 = makeSyntheticPe({.pe32Plus = true}).size() + slotOffset(9);
    const std::string name("x\0\x1b\xE9", 4);
    bytes[slot9] = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), bytes.begin() + slot9 + 1);
    ASSERT_TRUE(writeFileBytes(folder.path() / "named.exe", bytes, error));
    const CliRun named = saverpack(folder, "verify " + dir + "/named.exe");
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_NE(named.out.find("slot 9 \"x\\x00\\x1B\xC3\xA9\": the name contains"),
              std::string::npos)
        << named.out;
}

#ifdef SIZE_PROBE_PE32
// Real program files from the cross linkers: the constant is alone in its section, starts
// unpatched, and is patched to the file's size.
TEST(PePatch, RealPe32AndPe32PlusPrograms) {
    for (const auto& [path, pe32Plus] :
         {std::pair{SIZE_PROBE_PE32, false}, std::pair{SIZE_PROBE_PE32PLUS, true}}) {
        SCOPED_TRACE(path);
        std::vector<std::uint8_t> program;
        std::string error;
        ASSERT_TRUE(readFileBytes(path, program, error)) << error;
        InstallerSizeField field;
        ASSERT_TRUE(findInstallerSizeField(program, field, error)) << error;
        EXPECT_EQ(field.pe32Plus, pe32Plus);
        EXPECT_EQ(loadLittleEndian32(program, field.fileOffset), kInstallerSizeUnpatched);
        ASSERT_TRUE(patchInstallerSize(program, error)) << error;
        EXPECT_EQ(loadLittleEndian32(program, field.fileOffset),
                  static_cast<std::int32_t>(program.size()));
    }
}
#endif

TEST(PePatch, SyntheticHeadersAndDamagedOnes) {
    std::string error;
    InstallerSizeField field;
    for (bool pe32Plus : {false, true}) {
        auto program = makeSyntheticPe({.pe32Plus = pe32Plus});
        ASSERT_TRUE(patchInstallerSize(program, error)) << error;
        ASSERT_TRUE(findInstallerSizeField(program, field, error));
        EXPECT_EQ(field.pe32Plus, pe32Plus);
        EXPECT_EQ(field.fileOffset, 0x600u);
        EXPECT_EQ(loadLittleEndian32(program, field.fileOffset),
                  static_cast<std::int32_t>(program.size()));
    }
    struct Case {
        std::vector<std::uint8_t> program;
        const char* message;
    };
    auto badLfanew = makeSyntheticPe();
    storeLittleEndian32(badLfanew, 0x3C, 0x7FFFFFF0);
    auto cutTable = makeSyntheticPe();
    cutTable.resize(0x80 + 4 + 20 + 224 + 40);
    // The synthetic stub's second section header (.instsz) and its raw data pointer.
    const std::size_t sizeSection = 0x80 + 4 + 20 + 224 + 40;
    auto changed = [](std::size_t at, std::uint32_t value, std::size_t cutTo = 0) {
        auto program = makeSyntheticPe();
        storeLittleEndian32(program, at, static_cast<std::int32_t>(value));
        if (cutTo != 0) program.resize(cutTo);
        return program;
    };
    const std::size_t size = makeSyntheticPe().size();
    const Case cases[] = {
        {{'M', 'Z'}, "no MZ header"},
        {changed(0x3C, 0xFFFFFFFF), "no PE signature"},
        {changed(0x3C, static_cast<std::uint32_t>(size - 4)), "no PE signature"},
        {changed(0x3C, 0x80, 0x80 + 10), "no PE signature"},  // cut inside the COFF header
        {changed(0x80 + 24, 0), "neither PE32 nor PE32+"},
        {changed(0x80 + 20, 0xFFFF), "section table runs past the end"},
        {changed(0x80 + 6, 0xFFFF), "section table runs past the end"},
        {changed(sizeSection + 20, static_cast<std::uint32_t>(size)), "holds no 4-byte value"},
        {changed(sizeSection + 20, static_cast<std::uint32_t>(size - 2)), "holds no 4-byte value"},
        {changed(sizeSection + 20, 0xFFFFFFFE), "holds no 4-byte value"},
        {badLfanew, "no PE signature"},
        {cutTable, "section table runs past the end"},
        {makeSyntheticPe({.sizeSectionName = ""}), "has no .instsz section"},
        {makeSyntheticPe({.sizeSectionCount = 2}), "more than one .instsz section"},
        {makeSyntheticPe({.sizeSectionRawSize = 0}), "holds no 4-byte value"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(findInstallerSizeField(c.program, field, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

}  // namespace
