#pragma once
// The program from its start to the end of its event loop.

#include <functional>
#include <memory>

#include "app/qt/dialogs.h"

namespace log2plt::qt {

class TForm7;

// Names the application as the desktop and the settings know it; needs the QApplication.
void ConfigureApplication();

// Creates the main window with `create`, shows it and runs the event loop until it is closed.
// Returns the exit code: 0, or 1 after a box that reports a window that could not be created.
int RunMainWindow(Dialogs& dialogs, const std::function<std::unique_ptr<TForm7>()>& create);

// The whole program: the application, the desktop's dialogs, the window.
int RunProgram(int argc, char** argv);

}  // namespace log2plt::qt
