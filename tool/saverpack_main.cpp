// saverpack: makes a distributable screen saver installer from the stub and a manifest, and
// inspects or verifies finished installers. The work is done by package_builder; this file only
// reads the command line, files and the clock.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tool/file_bytes.h"
#include "tool/inspect_output.h"
#include "tool/installer_reader.h"
#include "tool/manifest_file.h"
#include "tool/package_builder.h"

namespace {

enum ExitCode : int {
    kExitOk = 0,
    kExitRefused = 1,   // build: the manifest describes a package the stub would fail on;
                        // verify: the installer has problems
    kExitUsage = 2,     // the command line is wrong
    kExitFileError = 3  // a file could not be read or written, or is no stub or installer
};

const char* const kMainHelp =
    "usage: saverpack COMMAND [OPTIONS]\n"
    "\n"
    "Makes a screen saver installer from the installer stub and a manifest, and checks\n"
    "finished installers.\n"
    "\n"
    "commands:\n"
    "  build MANIFEST -o OUTPUT   write an installer from a manifest (TOML)\n"
    "  inspect INSTALLER          show the header, the slots and the saver data file\n"
    "  verify INSTALLER           check an installer the way the stub reads it\n"
    "  help [COMMAND]             show help\n"
    "\n"
    "exit codes: 0 success; 1 package refused or problems found; 2 wrong command line;\n"
    "3 a file could not be read or written, or is not a stub or installer.\n"
    "Run 'saverpack COMMAND --help' for a command's options.\n";

const char* const kBuildHelp =
    "usage: saverpack build MANIFEST -o OUTPUT [--stub STUB] [--progress | --quiet]\n"
    "\n"
    "Writes OUTPUT: a copy of the stub with INSTALLER_SIZE_IN_BYTES set, the package header\n"
    "and the files the manifest names (paths relative to the manifest's folder). The same\n"
    "inputs always give the same bytes. A package the stub would fail on is refused with one\n"
    "line per problem, naming the manifest entry.\n"
    "\n"
    "  -o, --output OUTPUT  the installer to write (replaced only on success)\n"
    "  --stub STUB          the stub to pack; default: installer_stub.exe beside this program,\n"
    "                       else the i686 release stub of the source tree (build/win32/app)\n"
    "  --progress           report every step on stderr (default: only once a build is slow)\n"
    "  --quiet              no progress output\n"
    "\n"
    "exit codes: 0 written; 1 refused; 2 wrong command line; 3 file error.\n";

const char* const kInspectHelp =
    "usage: saverpack inspect INSTALLER [--json]\n"
    "\n"
    "Prints INSTALLER_SIZE_IN_BYTES, the header fields, each slot (name, kind, role, offsets,\n"
    "stored and expanded size, stored or imploded) and the saver data file's table, followed\n"
    "by any problems verify would report.\n"
    "\n"
    "  --json   print one JSON object instead\n"
    "\n"
    "exit codes: 0 shown (even with problems); 2 wrong command line; 3 unreadable or no package.\n";

const char* const kVerifyHelp =
    "usage: saverpack verify INSTALLER [--progress | --quiet]\n"
    "\n"
    "Checks INSTALLER as the stub would read it: offsets inside the file, imploded entries that\n"
    "explode to their expanded size, safe names, the kind each slot's role needs, the slots a\n"
    "run extracts being filled, and the saver data file's table and blocks. Prints one line per\n"
    "problem, or \"ok\".\n"
    "\n"
    "exit codes: 0 no problems; 1 problems found; 2 wrong command line; 3 unreadable or no "
    "package.\n";

// Small packages build in a blink; long ones tell what they are doing.
class ProgressReporter {
  public:
    enum class Mode { Auto, Always, Never };
    explicit ProgressReporter(Mode mode) : mode_(mode), start_(std::chrono::steady_clock::now()) {}

    void operator()(const std::string& line) const {
        if (mode_ == Mode::Never) return;
        if (mode_ == Mode::Auto &&
            std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) {
            return;
        }
        std::fprintf(stderr, "saverpack: %s\n", line.c_str());
    }

  private:
    Mode mode_;
    std::chrono::steady_clock::time_point start_;
};

int usageError(const std::string& message, const char* help) {
    std::fprintf(stderr, "saverpack: %s\n\n%s", message.c_str(), help);
    return kExitUsage;
}

int fileError(const std::string& message) {
    std::fprintf(stderr, "saverpack: %s\n", message.c_str());
    return kExitFileError;
}

// Unreadable files named by the manifest are file errors, the rest refusals. Judged by where a
// line comes from, not by its words: a key or a file name may say "cannot" too.
bool hasFileProblem(const std::string& lines) {
    for (std::size_t at = 0; at < lines.size();) {
        std::size_t end = lines.find('\n', at);
        if (end == std::string::npos) end = lines.size();
        const std::string_view line(lines.data() + at, end - at);
        at = end + 1;
        // The manifest file itself.
        if (line.starts_with("cannot ") || line.starts_with("\"")) return true;
        // "[slots.N] file: ...", "[slots.8.saverData] settings: ..." or "... folder: ...".
        if (!line.starts_with("[slots.")) continue;
        const std::size_t close = line.find("] ");
        if (close == std::string_view::npos) continue;
        const std::string_view rest = line.substr(close + 2);
        if (rest.starts_with("file: ") || rest.starts_with("settings: ") ||
            rest.starts_with("folder: ")) {
            return true;
        }
    }
    return false;
}

bool wantsHelp(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

std::filesystem::path ownDirectory() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::filesystem::path(buffer).parent_path();
#else
    std::error_code code;
    return std::filesystem::read_symlink("/proc/self/exe", code).parent_path();
#endif
}

std::filesystem::path defaultStub() {
    const std::filesystem::path beside = ownDirectory() / "installer_stub.exe";
    std::error_code code;
    if (!ownDirectory().empty() && std::filesystem::is_regular_file(beside, code)) return beside;
    return std::filesystem::path(NRV_DEFAULT_STUB);
}

int runBuild(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::fputs(kBuildHelp, stdout);
        return kExitOk;
    }
    std::string manifestPath, outputPath, stubPath;
    auto mode = ProgressReporter::Mode::Auto;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-o" || arg == "--output" || arg == "--stub") {
            if (i + 1 >= args.size()) return usageError(arg + " needs a value", kBuildHelp);
            (arg == "--stub" ? stubPath : outputPath) = args[++i];
        } else if (arg == "--progress") {
            mode = ProgressReporter::Mode::Always;
        } else if (arg == "--quiet") {
            mode = ProgressReporter::Mode::Never;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg, kBuildHelp);
        } else if (manifestPath.empty()) {
            manifestPath = arg;
        } else {
            return usageError("more than one manifest given", kBuildHelp);
        }
    }
    if (manifestPath.empty()) return usageError("no manifest given", kBuildHelp);
    if (outputPath.empty()) return usageError("no output given (-o OUTPUT)", kBuildHelp);

    const ProgressReporter reporter(mode);
    const auto progress = [&reporter](const std::string& line) { reporter(line); };
    std::string error;
    std::vector<std::uint8_t> stub;
    const std::filesystem::path stubFile =
        stubPath.empty() ? defaultStub() : std::filesystem::path(stubPath);
    if (!readFileBytes(stubFile, stub, error)) return fileError("stub: " + error);

    Manifest manifest;
    std::error_code code;
    if (!std::filesystem::is_regular_file(manifestPath, code)) {
        return fileError("cannot read manifest \"" + manifestPath + "\"");
    }
    if (!loadManifest(manifestPath, manifest, error, progress)) {
        std::fprintf(stderr, "saverpack: %s: refused:\n", manifestPath.c_str());
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t end = error.find('\n', at);
            std::fprintf(stderr, "  %s\n", error.substr(at, end - at).c_str());
            at = end == std::string::npos ? end : end + 1;
        }
        return hasFileProblem(error) ? kExitFileError : kExitRefused;
    }

    BuildOptions options;
    options.progress = progress;
    std::vector<std::uint8_t> installer;
    if (!buildInstaller(manifest, stub, installer, error, options)) {
        std::fprintf(stderr, "saverpack: %s: refused:\n", manifestPath.c_str());
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t end = error.find('\n', at);
            std::fprintf(stderr, "  %s\n", error.substr(at, end - at).c_str());
            at = end == std::string::npos ? end : end + 1;
        }
        return error.starts_with("stub: ") ? kExitFileError : kExitRefused;
    }

    // Written beside the target and renamed, so a failed write never leaves half an installer.
    const std::filesystem::path target(outputPath);
    std::filesystem::path partial = target;
    partial += ".partial";
    if (!writeFileBytes(partial, installer, error)) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        return fileError(error);
    }
    std::filesystem::rename(partial, target, code);
    if (code) {
        std::filesystem::remove(partial, code);
        return fileError("cannot write \"" + outputPath + "\"");
    }
    reporter("wrote " + outputPath + " (" + std::to_string(installer.size()) + " bytes)");
    return kExitOk;
}

int readForCheck(const std::string& path, InstallerView& view,
                 const std::function<void(const std::string&)>& progress) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readFileBytes(path, bytes, error)) return fileError(error);
    if (!readInstaller(bytes, view, error, progress)) return fileError(path + ": " + error);
    return kExitOk;
}

int runInspect(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::fputs(kInspectHelp, stdout);
        return kExitOk;
    }
    bool asJson = false;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--json")
            asJson = true;
        else if (!arg.empty() && arg[0] == '-')
            return usageError("unknown option " + arg, kInspectHelp);
        else if (path.empty())
            path = arg;
        else
            return usageError("more than one installer given", kInspectHelp);
    }
    if (path.empty()) return usageError("no installer given", kInspectHelp);
    InstallerView view;
    if (const int result = readForCheck(path, view, {}); result != kExitOk) return result;
    std::fputs((asJson ? installerJson(view) : describeInstaller(view)).c_str(), stdout);
    return kExitOk;
}

int runVerify(const std::vector<std::string>& args) {
    if (wantsHelp(args)) {
        std::fputs(kVerifyHelp, stdout);
        return kExitOk;
    }
    auto mode = ProgressReporter::Mode::Auto;
    std::string path;
    for (const std::string& arg : args) {
        if (arg == "--progress")
            mode = ProgressReporter::Mode::Always;
        else if (arg == "--quiet")
            mode = ProgressReporter::Mode::Never;
        else if (!arg.empty() && arg[0] == '-')
            return usageError("unknown option " + arg, kVerifyHelp);
        else if (path.empty())
            path = arg;
        else
            return usageError("more than one installer given", kVerifyHelp);
    }
    if (path.empty()) return usageError("no installer given", kVerifyHelp);
    const ProgressReporter reporter(mode);
    InstallerView view;
    const int result =
        readForCheck(path, view, [&reporter](const std::string& line) { reporter(line); });
    if (result != kExitOk) return result;
    if (view.problems.empty()) {
        std::printf("ok\n");
        return kExitOk;
    }
    for (const std::string& problem : view.problems) {
        std::printf("%s\n", printableText(problem).c_str());
    }
    return kExitRefused;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usageError("no command given", kMainHelp);
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "build") return runBuild(args);
    if (command == "inspect") return runInspect(args);
    if (command == "verify") return runVerify(args);
    if (command == "help" || command == "--help" || command == "-h") {
        const std::string topic = args.empty() ? "" : args.front();
        std::fputs(topic == "build"     ? kBuildHelp
                   : topic == "inspect" ? kInspectHelp
                   : topic == "verify"  ? kVerifyHelp
                                        : kMainHelp,
                   stdout);
        return kExitOk;
    }
    return usageError("unknown command " + command, kMainHelp);
}
