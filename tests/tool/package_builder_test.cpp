#include <gtest/gtest.h>

#include "package/package_format.h"
#include "tests/tool/synthetic_pe.h"
#include "tests/tool/test_packages.h"
#include "tool/package_builder.h"
#include "tool/pe_patch.h"

namespace {

InstallerHeader headerOf(const std::vector<std::uint8_t>& installer, std::int32_t at) {
    return decodeInstallerHeader(
        std::span<const std::uint8_t>(installer).subspan(at).first<kInstallerHeaderSize>());
}

std::vector<std::uint8_t> storedBytes(const std::vector<std::uint8_t>& installer,
                                      const PackageEntry& entry) {
    return {installer.begin() + entry.startOffset, installer.begin() + entry.endOffset + 1};
}

std::vector<std::uint8_t> expanded(const std::vector<std::uint8_t>& installer,
                                   const PackageEntry& entry) {
    const auto stored = storedBytes(installer, entry);
    if (!entry.compressed) return stored;
    std::vector<std::uint8_t> out;
    EXPECT_EQ(dcl::explode(stored, out, static_cast<std::size_t>(entry.expandedSize)),
              dcl::Status::Ok);
    return out;
}

TEST(PackageBuilder, StubReaderDecodesWhatTheBuilderWrites) {
    for (bool pe32Plus : {false, true}) {
        const auto stub = makeSyntheticPe({.pe32Plus = pe32Plus});
        const Manifest manifest = sampleManifest();
        std::vector<std::uint8_t> installer;
        std::string error;
        ASSERT_TRUE(buildInstaller(manifest, stub, installer, error)) << error;

        // The patched constant says where the header is: right after the stub.
        InstallerSizeField field;
        ASSERT_TRUE(findInstallerSizeField(installer, field, error)) << error;
        EXPECT_EQ(field.pe32Plus, pe32Plus);
        const std::int32_t installerSize = loadLittleEndian32(installer, field.fileOffset);
        EXPECT_EQ(installerSize, static_cast<std::int32_t>(stub.size()));
        // Apart from those 4 bytes, the stub is copied unchanged.
        for (std::size_t i = 0; i < stub.size(); ++i) {
            if (i < field.fileOffset || i >= field.fileOffset + 4) {
                ASSERT_EQ(installer[i], stub[i]) << i;
            }
        }

        const InstallerHeader header = headerOf(installer, installerSize);
        EXPECT_EQ(header.installMode, 1);
        EXPECT_EQ(header.hasLicense, 1);
        EXPECT_EQ(header.hasPostInstallFile, 1);
        EXPECT_EQ(header.carriesFlashInstaller, 0);
        EXPECT_EQ(header.offerControlPanel, 1);
        EXPECT_EQ(saverNameOf(header), "Sample Saver");
        EXPECT_TRUE(header.entries[0].name.empty());
        EXPECT_TRUE(header.entries[2].name.empty());

        std::int32_t previousEnd =
            installerSize + static_cast<std::int32_t>(kInstallerHeaderSize) - 1;
        for (std::size_t slot = 1; slot < kSlotCount; ++slot) {
            const auto& input = manifest.slots[slot];
            if (!input) continue;
            const PackageEntry& entry = header.entries[slot];
            SCOPED_TRACE("slot " + std::to_string(slot));
            EXPECT_EQ(entry.name, input->name);
            EXPECT_EQ(entry.kind, input->kind);
            EXPECT_EQ(entry.startOffset, previousEnd + 1);  // contiguous, after the header
            EXPECT_GE(entry.endOffset, entry.startOffset);
            EXPECT_EQ(entry.expandedSize, static_cast<std::int32_t>(input->bytes.size()));
            EXPECT_EQ(expanded(installer, entry), input->bytes);
            previousEnd = entry.endOffset;
        }
        EXPECT_EQ(static_cast<std::size_t>(previousEnd) + 1, installer.size());
    }
}

TEST(PackageBuilder, ImplodesOnlyWhatGetsSmaller) {
    Manifest manifest = sampleManifest();
    manifest.slots[9]->bytes = repeatedText(20000);
    manifest.slots[10]->storage.storage = Storage::Imploded;  // forced, though larger
    manifest.slots[7]->bytes.clear();                         // empty: only imploded works
    std::vector<std::uint8_t> installer;
    std::string error;
    ASSERT_TRUE(buildInstaller(manifest, makeSyntheticPe(), installer, error)) << error;
    const InstallerHeader header =
        headerOf(installer, static_cast<std::int32_t>(makeSyntheticPe().size()));
    EXPECT_FALSE(header.entries[1].compressed);  // 10 bytes would grow
    EXPECT_TRUE(header.entries[9].compressed);
    EXPECT_LT(header.entries[9].endOffset - header.entries[9].startOffset + 1, 20000);
    EXPECT_TRUE(header.entries[10].compressed);
    EXPECT_EQ(expanded(installer, header.entries[10]), bytesOf("three"));
    EXPECT_TRUE(header.entries[7].compressed);
    EXPECT_EQ(header.entries[7].expandedSize, 0);
    EXPECT_TRUE(expanded(installer, header.entries[7]).empty());

    manifest.slots[7]->storage.storage = Storage::Stored;
    EXPECT_FALSE(buildInstaller(manifest, makeSyntheticPe(), installer, error));
    EXPECT_NE(error.find("[slots.7]"), std::string::npos) << error;
    EXPECT_TRUE(installer.empty());
}

TEST(PackageBuilder, SameInputsGiveTheSameBytes) {
    std::vector<std::uint8_t> first, second;
    std::string error;
    ASSERT_TRUE(buildInstaller(sampleManifest(), makeSyntheticPe(), first, error)) << error;
    ASSERT_TRUE(buildInstaller(sampleManifest(), makeSyntheticPe(), second, error)) << error;
    EXPECT_EQ(first, second);
}

TEST(PackageBuilder, UncheckedBuildMakesPackagesTheStubMustSurvive) {
    Manifest manifest = sampleManifest();
    manifest.slots[7].reset();
    manifest.slots[6]->kind = 99;
    std::vector<std::uint8_t> installer;
    std::string error;
    EXPECT_FALSE(buildInstaller(manifest, makeSyntheticPe(), installer, error));
    BuildOptions unchecked;
    unchecked.checkPackage = false;
    ASSERT_TRUE(buildInstaller(manifest, makeSyntheticPe(), installer, error, unchecked)) << error;
    const InstallerHeader header =
        headerOf(installer, static_cast<std::int32_t>(makeSyntheticPe().size()));
    EXPECT_TRUE(header.entries[7].name.empty());
    EXPECT_EQ(header.entries[6].kind, 99);
}

}  // namespace
