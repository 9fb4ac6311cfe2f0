// One step of the main window's start-up: a step that fails is skipped and the next one runs.
#pragma once

#include <exception>
#include <functional>
#include <utility>

#include "core/ErrorBox.h"
#include "core/Errors.h"
#include "ui/App.h"

// Runs the step with its arguments. A failure is shown in the start-up's error box, with the
// pointer back to normal, and goes no further.
template <class Step, class... Args>
void RunStartupStep(Step&& step, Args&&... args) {
    try {
        std::invoke(std::forward<Step>(step), std::forward<Args>(args)...);
    } catch (const RuntimeError& e) {
        SetScreenMousePointer(PointerShape::Default);
        ShowErrorBox(e.number(), e.source(), e.what());
    } catch (const std::exception& e) {
        SetScreenMousePointer(PointerShape::Default);
        ShowErrorBox(5, "Ornavale", e.what());
    }
}
