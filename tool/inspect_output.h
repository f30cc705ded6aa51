// What `saverpack inspect` prints: for a person, or as JSON.
#pragma once

#include <string>

#include "tool/installer_reader.h"

std::string describeInstaller(const InstallerView& view);
std::string installerJson(const InstallerView& view);
