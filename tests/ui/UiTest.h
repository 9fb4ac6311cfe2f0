// Shared pieces of the window tests: the runtime set up once, a test form, message pumping.
#pragma once

#include <functional>
#include <string>

#include "ui/App.h"
#include "ui/Form.h"

// Sets up the runtime once; forms that unload never end the test program.
void EnsureApp();
// Lets posted window events run.
void Pump();

// A sizable form; tests derive from it and give it controls.
class TestForm : public Form {
  public:
    TestForm() : Form("frmTest") { EnsureApp(); }
    std::function<void()> build;          // runs in CreateControls
    std::function<bool(int id)> onMenu;   // the command table

  protected:
    FormSpec Spec() const override;
    void CreateControls() override {
        if (build) build();
    }
    bool OnMenuCommand(int id) override { return onMenu && onMenu(id); }
};

// The text of a window (a control's caption, for instance).
std::string WindowText(HWND window);
// Clicks at a point of a window's client area in pixels, as the mouse does.
void ClickAt(HWND window, int x, int y, bool right = false);
