// Which launcher window the command line names: the first parameter that begins with "/l="
// (small l), with every "/l=" in it removed in any letter case, read as a window handle in
// decimal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LauncherLookup {
    enum class Outcome {
        Absent,    // no parameter begins with "/l="
        Found,     // handle holds the value
        Rejected,  // the value is not a non-negative decimal number that fits a handle
    };
    Outcome outcome = Outcome::Absent;
    std::uintptr_t handle = 0;
};

LauncherLookup parseLauncherParameter(const std::vector<std::string>& parameters);

// The program-wide launcher window. Looked up lazily at the first notice, again at later
// notices while no parameter named one, and never again once found or rejected: a value that
// is not a window handle is turned down once and the run goes on without a launcher.
class LauncherTarget {
  public:
    void reset();  // the start of a run: no handle, nothing looked up
    // Returns the handle, 0 for none.
    std::uintptr_t lookUp(const std::vector<std::string>& parameters);
    std::uintptr_t handle() const { return handle_; }

  private:
    std::uintptr_t handle_ = 0;
    bool settled_ = false;
};

// The bytes a notice carries: the text (which may hold NULs of its own) and one terminating
// NUL, all counted in cbData.
std::string launcherNoticeData(const std::string& text);
