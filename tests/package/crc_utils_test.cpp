#include "package/crc_utils.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/message_boxes.h"

namespace {

std::vector<MessageRequest> shown;
int record(const MessageRequest& request) {
    shown.push_back(request);
    return kIdOk;
}

class CrcUtils : public ::testing::Test {
  protected:
    void SetUp() override {
        shown.clear();
        previous_ = setMessagePresenter(record);
    }
    void TearDown() override { setMessagePresenter(previous_); }
    MessagePresenter previous_ = nullptr;
};

TEST_F(CrcUtils, KnownValuesOfText) {
    std::uint32_t crc = 1;
    ASSERT_TRUE(crc32OfText("abc", crc));
    EXPECT_EQ(crc, 891568578u);
    ASSERT_TRUE(crc32OfText("", crc));
    EXPECT_EQ(crc, 0u);
    ASSERT_TRUE(crc32OfText("123456789", crc));
    EXPECT_EQ(crc, 0xCBF43926u);
    EXPECT_TRUE(shown.empty());
}

TEST_F(CrcUtils, TheTableChecksItself) {
    EXPECT_EQ(crc32OfTable(kCrc32Table), kCrc32TableCheck);
    EXPECT_TRUE(checkCrc32Table(kCrc32Table));
}

TEST_F(CrcUtils, ADamagedTableShowsItsCrcAndLeavesTheResultUnset) {
    Crc32Table damaged = kCrc32Table;
    damaged[17] ^= 0x00010000;
    const std::uint32_t actual = crc32OfTable(damaged);
    ASSERT_NE(actual, kCrc32TableCheck);

    std::uint32_t crc = 0x12345678;
    EXPECT_FALSE(crc32OfText("abc", crc, damaged));
    EXPECT_EQ(crc, 0x12345678u);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, MessageKind::Plain);
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(actual));
    EXPECT_EQ(shown[0].text, std::string("CRC32 Table CRC32 is ") + hex + ", expecting $6FCF9E13");
}

TEST_F(CrcUtils, MessageUsesEightUpperCaseDigits) {
    EXPECT_EQ(crc32TableMessage(0xAB), "CRC32 Table CRC32 is 000000AB, expecting $6FCF9E13");
}

TEST_F(CrcUtils, UpdateContinuesARunningValue) {
    std::uint32_t whole = 0xFFFFFFFF;
    updateCrc32("abcdef", 6, whole);
    std::uint32_t split = 0xFFFFFFFF;
    updateCrc32("abc", 3, split);
    updateCrc32("def", 3, split);
    EXPECT_EQ(whole, split);
}

TEST_F(CrcUtils, ShortcutNameIsTheUnsignedDecimalCrc) {
    EXPECT_EQ(startupShortcutName(891568578u), "891568578_installer.lnk");
    EXPECT_EQ(startupShortcutName(0xFFFFFFFFu), "4294967295_installer.lnk");
}

}  // namespace
