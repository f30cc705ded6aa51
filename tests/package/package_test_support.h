// What the Wine tests of extraction, header loading and saver files share: a run whose folders
// lie in a fresh temporary folder, recorders for message boxes and form feedback, and a
// working copy made of hand-placed entries.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/form_feedback.h"
#include "app/message_boxes.h"
#include "package/package_format.h"
#include "package/run_state.h"

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);
Bytes patternBytes(std::size_t size, std::uint8_t seed = 1);
void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
bool exists(const std::string& path);
// A Linux path of the build tree as Wine sees it (drive Z: is "/").
std::string windowsPathOfHostPath(const std::string& hostPath);

// Sets this program's INSTALLER_SIZE_IN_BYTES in memory, as the authoring tool sets it in a
// file, so readInstallerHeader finds a header the test wrote there.
void setRunningInstallerSize(std::int32_t size);

class RecordingFeedback : public FormFeedback {
  public:
    void showStatus(const std::string& text) override { statuses.push_back(text); }
    void stepProgress() override {
        ++steps;
        if (steps == cancelAtStep) cancel = true;
    }
    bool cancelRequested() const override { return cancel; }

    std::vector<std::string> statuses;
    int steps = 0;
    int cancelAtStep = -1;  // the step at which a Cancel click arrives
    bool cancel = false;
};

// A working copy: a filler standing for the program, the header, then each entry's bytes.
class WorkingCopyBuilder {
  public:
    explicit WorkingCopyBuilder(std::size_t programSize = 512);
    // Appends data and points slot at it; returns the entry for further damage.
    PackageEntry& add(int slot, const std::string& name, std::int32_t kind, const Bytes& data);
    // Appends imploded data whose expandedSize is the original's size.
    PackageEntry& addImploded(int slot, const std::string& name, std::int32_t kind,
                              const Bytes& original);
    Bytes bytes() const;  // with the header encoded at programSize
    std::size_t programSize() const { return programSize_; }

    InstallerHeader header;

  private:
    std::size_t programSize_;
    Bytes data_;
};

Bytes implodeBytes(const Bytes& original);  // empty when the build has no imploder
bool haveImplodeLibrary();
std::string implodeLibraryPath();  // the built impborl.dll, as Wine names it
std::string fixtureLibraryPath();  // a library without "_crc32"

class PackageTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the builder's bytes as the run's working copy and takes its header.
    void useWorkingCopy(const WorkingCopyBuilder& builder);
    void installImplodeLibrary();  // copies impborl.dll into WorkDir

    std::string root_;
    RunState run_;
    RecordingFeedback feedback_;
    static std::vector<MessageRequest>& boxes();

  private:
    MessagePresenter previous_ = nullptr;
};
