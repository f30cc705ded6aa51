#include "tests/tool/test_packages.h"

#include <stdexcept>

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> repeatedText(std::size_t size) {
    const std::string line = "the quick brown fox jumps over the lazy dog\r\n";
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < size)
        bytes.push_back(static_cast<std::uint8_t>(line[bytes.size() % line.size()]));
    return bytes;
}

SaverDataInput sampleSaverData() {
    SaverDataInput data;
    data.settings.assign(kSaverDataRecordSize, 0x11);
    data.files.push_back({"a.bin", {1, 2, 3, 4, 5}});
    data.files.push_back({"pics\\b.txt", repeatedText(5000)});
    data.files.push_back({"c.bin", bytesOf("x")});
    return data;
}

Manifest sampleManifest() {
    Manifest m;
    m.installMode = 1;
    m.hasLicense = 1;
    m.hasPostInstallFile = 1;
    m.offerControlPanel = 1;
    m.saverName = "Sample Saver";
    m.slots[1] = SlotInput{"impborl.dat", 4, bytesOf("MZ library")};
    m.slots[3] = SlotInput{"preview.bmp", 7, bytesOf("BM picture")};
    m.slots[4] = SlotInput{"licence.rtf", 7, repeatedText(3000)};
    m.slots[5] = SlotInput{"readme.txt", 4, bytesOf("read me")};
    m.slots[6] = SlotInput{"sample.scr", 2, bytesOf("MZ engine")};
    m.slots[7] = SlotInput{"extra1.txt", 1, bytesOf("one")};
    std::vector<std::uint8_t> data;
    std::string error;
    if (!buildSaverDataFile(sampleSaverData(), data, error)) throw std::runtime_error(error);
    m.slots[8] = SlotInput{"sample.dat", 7, data};
    m.slots[9] = SlotInput{"extra2.txt", 10, bytesOf("two")};
    m.slots[10] = SlotInput{"extra3.txt", 5, bytesOf("three")};
    return m;
}
