// Text rules for Windows paths, kept apart from the calls that act on them so that they run
// and are tested on any host. Paths use "\" and may carry a drive ("C:").
#pragma once

#include <string>

// The folder part of a path: everything up to and including the last "\" or ":"; empty when
// the path has neither.
std::string folderPartOf(const std::string& path);

// The folder that holds a folder: one trailing "\" dropped, then its folder part. For a path
// that has no parent ("", "Q:", "\") the result is the path itself or a text no longer than
// it, never a longer one, so that a climb towards the root always ends.
std::string parentFolderOf(const std::string& folder);

// The extension of the last path component with its dot, lower-cased by the ASCII rule
// (".scr" for "C:\x\Saver.SCR"); empty when the name has no dot.
std::string lowerCaseExtension(const std::string& path);

// The path without one trailing "\" (for calls such as RemoveDirectoryA on a link).
std::string withoutTrailingBackslash(const std::string& path);
