// The installer form (TInstallerForm). Its creation runs the start-up sequence before it is
// ever shown; its close handling removes the run's work folder and tells the launcher.
// Extraction and the install sequence see it through FormFeedback.
#pragma once

#include <string>

#include "app/form_feedback.h"
#include "package/run_state.h"
#include "ui/window.h"

class TInstallerForm : public Window, public FormFeedback {
  public:
    static constexpr char kClassName[] = "TInstallerForm";

    explicit TInstallerForm(RunState& run) : run_(run) {}

    // Creates the window, hidden, then runs FormCreate. The start-up may close the form
    // before this returns.
    bool create();
    // Closes the form unless an install runs (FormCloseQuery), with the close handling.
    void close();
    bool closed() const { return closed_; }
    bool startupRunning() const { return startupRunning_; }
    RunState& run() { return run_; }
    bool quiet() const { return run_.displayMode == kDisplayQuiet; }

    void showStatus(const std::string& text) override;
    void stepProgress() override;
    bool cancelRequested() const override;

  protected:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void FormCreate();
    bool FormCloseQuery() const;
    void FormClose();

    RunState& run_;
    bool closed_ = false;
    bool startupRunning_ = false;
};
