// The one QApplication of the process.
#pragma once

class QApplication;

namespace rt {

// Creates the application on first use (later calls return it). Without QT_QPA_PLATFORM and
// without DISPLAY it chooses the offscreen platform, so programs and tests run headless.
// Closing the last window does not quit: the run-time ends when no figure object remains,
// which the object model decides (a hidden figure still counts).
// argc/argv must outlive the application; nullptr gives an empty command line.
QApplication& ensureApplication(int* argc = nullptr, char** argv = nullptr);

}  // namespace rt
