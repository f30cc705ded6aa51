// What extraction and the install sequence need of the installer form. The form implements
// it; quiet mode does nothing in showStatus and stepProgress, and tests record the calls.
#pragma once

#include <string>

class FormFeedback {
public:
    virtual ~FormFeedback() = default;
    virtual void showStatus(const std::string& text) = 0;
    virtual void stepProgress() = 0;
    virtual bool cancelRequested() const = 0;
};
