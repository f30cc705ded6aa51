// A small valid manifest in memory, for tests that change one thing about it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tool/package_builder.h"

std::vector<std::uint8_t> bytesOf(const std::string& text);
std::vector<std::uint8_t> repeatedText(std::size_t size);

SaverDataInput sampleSaverData();
Manifest sampleManifest();
