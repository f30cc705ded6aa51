// Reading what the launcher fixture recorded, and the small file helpers the end-to-end
// tests share.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The Windows temporary folder, with its trailing backslash.
std::string tempFolder();
std::vector<std::string> readLines(const std::string& path);

// A notice's record line as the launcher fixture writes it, less the sender: the text with
// its terminating NUL counted in cbData.
std::string noticeLine(const std::string& text);
// "copydata sender=<n> ..." without the sender, which differs from run to run.
std::string withoutSender(const std::string& line);
std::string senderOf(const std::string& line);

}  // namespace e2e
