// The one QApplication of the process.
#pragma once

#include <string>

class QApplication;

namespace rt {

// Creates the application on first use (later calls return it). Without QT_QPA_PLATFORM and
// without DISPLAY it chooses the offscreen platform, so programs and tests run headless.
// Closing the last window does not quit: the run-time ends when no figure object remains,
// which the object model decides (a hidden figure still counts).
// argc/argv must outlive the application; nullptr gives an empty command line.
QApplication& ensureApplication(int* argc = nullptr, char** argv = nullptr);

// Makes Qt's own texts (standard dialogs and buttons) speak `language` ("de", "fr") from the
// translations installed with Qt, and formats as that language does; any other code restores
// Qt's English and the start locale. Returns false when the translations are not installed.
bool useQtLanguage(const std::string& language);

}  // namespace rt
