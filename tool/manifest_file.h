// Reading a manifest file (TOML) into a Manifest: the header fields, and per slot the file, its
// stored name, kind and storage. Slot 8 may instead name a folder of data files, from which the
// saver data file is built. Paths are relative to the manifest's folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "tool/package_builder.h"

bool loadManifest(const std::filesystem::path& path, Manifest& manifest, std::string& error,
                  const std::function<void(const std::string&)>& progress = {});

// The same from text already in memory; baseFolder resolves the relative paths.
bool parseManifest(std::string_view text, const std::filesystem::path& baseFolder,
                   Manifest& manifest, std::string& error,
                   const std::function<void(const std::string&)>& progress = {});
