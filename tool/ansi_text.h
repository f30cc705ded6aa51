// Texts in a package are single bytes in the ANSI code page; the tool takes UTF-8 and writes
// Windows-1252, the code page of the systems the installer is made for.
#pragma once

#include <string>
#include <string_view>

// False when the text is not valid UTF-8 or holds a character Windows-1252 lacks.
bool utf8ToWindows1252(std::string_view utf8, std::string& ansi);

// For showing package texts; bytes Windows-1252 leaves undefined become U+FFFD.
std::string windows1252ToUtf8(std::string_view ansi);
