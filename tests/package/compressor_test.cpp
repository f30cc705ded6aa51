#include "package/pk_stuff.h"

#include <gtest/gtest.h>

#include "package_test_support.h"

namespace {

class Compressor : public PackageTest {};

TEST_F(Compressor, AFolderWithoutTheLibraryLeavesItUnloaded) {
    TCompressor compressor(run_.folders.workDir);
    EXPECT_FALSE(compressor.loaded());
}

TEST_F(Compressor, ALibraryWithoutCrc32IsNotLoaded) {
    ASSERT_TRUE(CopyFileA(fixtureLibraryPath().c_str(),
                          (run_.folders.workDir + "impborl.dll").c_str(), FALSE));
    TCompressor compressor(run_.folders.workDir);
    EXPECT_FALSE(compressor.loaded());
}

TEST_F(Compressor, ExplodesIntoANewFile) {
    if (!haveImplodeLibrary()) GTEST_SKIP() << "no impborl.dll in this build";
    installImplodeLibrary();
    const Bytes original = patternBytes(50000);
    const Bytes imploded = implodeBytes(original);
    ASSERT_FALSE(imploded.empty());
    const std::string target = run_.folders.workDir + "out.bin";
    writeFile(target, bytesOf("an older, longer file that must be replaced entirely........"));

    {
        TCompressor compressor(run_.folders.workDir);
        ASSERT_TRUE(compressor.loaded());
        EXPECT_EQ(compressor.ExplodeToFile(target, imploded.data(),
                                           static_cast<std::int32_t>(imploded.size())),
                  kOk);
    }
    EXPECT_EQ(readFile(target), original);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Compressor, ATargetThatCannotBeCreatedEndsQuietlyWithoutAFile) {
    if (!haveImplodeLibrary()) GTEST_SKIP() << "no impborl.dll in this build";
    installImplodeLibrary();
    const Bytes imploded = implodeBytes(patternBytes(100));
    const std::string target = run_.folders.workDir + "missing\\folder\\out.bin";
    TCompressor compressor(run_.folders.workDir);
    ASSERT_TRUE(compressor.loaded());
    EXPECT_NE(compressor.ExplodeToFile(target, imploded.data(),
                                       static_cast<std::int32_t>(imploded.size())),
              kOk);
    EXPECT_FALSE(exists(target));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text.rfind("Zip Error: Problem expanding data in memory. \r\n\r\n", 0),
              0u);
}

}  // namespace
