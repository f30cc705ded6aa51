// NRV_FileUtils: file operations that try harder than the plain system calls. Each one holds
// no state, shows nothing and returns a result code or a yes/no answer.
#pragma once

#include <cstdint>
#include <string>

#include "app/result_codes.h"

bool fileExists(const std::string& path);    // true for files only, not folders
bool folderExists(const std::string& path);  // true for folders only, not files
// Looks a file up by name whatever its attributes, as the system's find-first does; false for
// a folder or nothing.
bool lookUpFileSize(const std::string& path, std::int64_t& size);

// 0 when deleted or absent; -32 when it stays.
ResultCode deleteFileClearingAttributes(const std::string& path);
// 0, -32, -38 (a ".scr" file that stays), or -1 when attempts < 1.
ResultCode deleteFileWithRetries(const std::string& path, int attempts);
// folder ends with "\". 0, -1, or -32 when a file in the tree stays. A junction or symbolic
// link inside the tree is removed itself and never descended into.
ResultCode deleteFolderTree(const std::string& folder);
// On false the caller reads the reason with GetLastError.
bool copyFileClearingAttributes(const std::string& source, const std::string& target);
void createFolderTree(const std::string& folder);
// Sets major and revision only when the file has a readable version resource.
void myGetFileVersion(const std::string& path, int& major, int& revision);
