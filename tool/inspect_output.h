// What `saverpack inspect` prints: for a person, or as JSON.
#pragma once

#include <string>

#include "tool/installer_reader.h"

std::string describeInstaller(const InstallerView& view);

// A package text (ANSI) for a terminal: UTF-8, with control bytes shown as \xNN, so that a
// hostile name neither cuts the output short (NUL) nor drives the terminal (ESC).
std::string printableText(std::string_view ansi);
std::string installerJson(const InstallerView& view);
