#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLineParameters, Cases) {
    struct Case {
        std::string line;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"setup.exe", {}},
        {"setup.exe /q /l=12", {"/q", "/l=12"}},
        {"\"C:\\Program Files\\setup.exe\" /l=5", {"/l=5"}},
        {"  setup.exe\t /q  ", {"/q"}},
        {"setup.exe \"a b\" c\"d e\"f", {"a b", "cd ef"}},
        {"setup.exe \"unterminated", {"unterminated"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(commandLineParameters(c.line), c.expected);
    }
}

TEST(QuietSwitch, AnyCaseButNothingLonger) {
    for (const char* yes : {"/q", "/Q"}) EXPECT_TRUE(isQuietSwitch(yes)) << yes;
    for (const char* no : {"", "/", "q", "-q", "/qq", "/quiet", "/q ", "\\q"}) {
        EXPECT_FALSE(isQuietSwitch(no)) << no;
    }
}

}  // namespace
