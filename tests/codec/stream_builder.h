// Builds implode streams by hand, bit by bit, so hostile and golden streams do not depend on the
// encoder under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dcl::testing {

class StreamBuilder {
public:
    StreamBuilder(std::uint8_t mode, std::uint8_t dictionaryCode) : bytes_{mode, dictionaryCode} {}

    // A prefix code as written in tables, first bit first ("101").
    StreamBuilder& code(const std::string& bits) {
        for (char c : bits) bit(c == '1');
        return *this;
    }
    // A fixed-width field, least significant bit first.
    StreamBuilder& field(unsigned value, unsigned width) {
        for (unsigned i = 0; i < width; ++i) bit((value >> i) & 1);
        return *this;
    }
    StreamBuilder& binaryLiteral(std::uint8_t b) { return code("0").field(b, 8); }
    StreamBuilder& endCode() { return code("1").code("0000000").field(0xFF, 8); }

    std::vector<std::uint8_t> bytes() const { return bytes_; }

private:
    void bit(bool b) {
        if (used_ % 8 == 0) bytes_.push_back(0);
        if (b) bytes_.back() |= static_cast<std::uint8_t>(1u << (used_ % 8));
        ++used_;
    }

    std::vector<std::uint8_t> bytes_;
    unsigned used_ = 0;
};

}  // namespace dcl::testing
