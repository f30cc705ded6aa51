// The program-wide flags of an install: the form may not close while one runs, and Cancel
// asks it to stop at its next check.
#pragma once

struct InstallerFlags {
    bool installing = false;
    bool cancelRequested = false;
};

InstallerFlags& installerFlags();
