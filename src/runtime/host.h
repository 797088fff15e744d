// What the run-time needs of a real toolkit: the event loop and its modal waits, the five
// dialogs, font metrics and the screen. The core (object model, system functions) calls only
// this; src/qt implements it with Qt Widgets, and tests install the Qt host on the offscreen
// platform with scripted dialogs. Window grabs, image files and printing go through
// rt::FigureOutput (runtime/image_io.h).
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rt {

using Rgb = std::array<double, 3>;  // red, green, blue in [0, 1]

// One row of a file dialog's filter list: patterns separated by ";" ("*.bmp;*.jpg;"), and
// the text shown for them (which may hold parentheses of its own).
struct FileFilter {
    std::string pattern;
    std::string description;
};

// A chosen file: the name as the user typed or picked it (no suffix added), and the
// folder it lies in, ending in "/".
struct FileChoice {
    std::string name;
    std::string folder;
};

// The five dialogs. All texts are UTF-8. The blocking ones are application-modal: while one
// is open, no window's callback can start.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Opens in the working folder; nullopt when cancelled.
    virtual std::optional<FileChoice> getFile(const std::vector<FileFilter>& filters,
                                              const std::string& title) = 0;
    // As getFile; the file need not exist and an existing one is not questioned (the caller
    // asks its own question where it wants one).
    virtual std::optional<FileChoice> putFile(const std::vector<FileFilter>& filters,
                                              const std::string& title) = 0;
    // The pressed button's text, or "" when the dialog is closed without a button.
    virtual std::string question(const std::string& text, const std::string& title,
                                 const std::vector<std::string>& buttons,
                                 const std::string& defaultButton) = 0;
    // The chosen colour, nullopt when cancelled.
    virtual std::optional<Rgb> color(const Rgb& initial) = 0;
    // Shows the message and returns at once; several may stand side by side.
    virtual void error(const std::string& text, const std::string& title) = 0;
    // As error, for a warning: something went on that the user should know of.
    virtual void warning(const std::string& text, const std::string& title) = 0;
    // The run-time's report of an error that ended a callback (its message, the default error
    // title). An error dialog unless a provider shows such reports otherwise.
    virtual void callbackError(const std::string& text, const std::string& title) {
        error(text, title);
    }
};

// The screen in pixels; bottom-left origin is the object model's business.
struct ScreenInfo {
    double width = 1024;
    double height = 768;
    double pixelsPerInch = 96;  // the logical resolution every unit conversion uses
};

// A font as the object model names it. "FixedWidth" means the system's monospace font.
struct FontSpec {
    std::string name = "Helvetica";
    double points = 10;
    bool bold = false;
    bool italic = false;
};

// Size of a one- or multi-line text in points (1/72 inch); height covers every line.
struct TextMetrics {
    double width = 0;
    double height = 0;
    double ascent = 0;   // of the first line
    double descent = 0;  // of the last line
};

// The toolkit. One host is installed at a time (setHost); without one, a headless host
// answers screen and font questions with fixed figures and throws on every dialog and wait.
class Host {
public:
    virtual ~Host() = default;

    virtual ScreenInfo screen() const = 0;
    virtual TextMetrics measureText(const std::string& text, const FontSpec& font) const = 0;
    virtual Dialogs& dialogs() = 0;

    // Serves every event and user callback until done() holds; done() is asked again after
    // each served callback and each change of the object model. Nests: a callback served
    // here may wait again. An error inside a served callback ends that callback only.
    virtual void serveUntil(const std::function<bool()>& done) = 0;
    // Draws what is pending. Takes no user input, so no second callback can start.
    virtual void flush() = 0;
    // Waits `seconds` while drawing, taking no user input. Negative or NaN waits nothing.
    virtual void pause(double seconds) = 0;
    // figure(h) of an existing figure: its window comes to the front (when it is shown).
    virtual void raiseFigure(double /*figure*/) {}
};

// The installed host (never null: the headless host when none is installed).
Host& host();
// Installs `h` (nullptr restores the headless host); returns the previous one. Not owned.
Host* setHost(Host* h);

// The dialogs of the installed host, in the forms the system calls them.
std::optional<FileChoice> uigetfile(const std::vector<FileFilter>& filters,
                                    const std::string& title);
std::optional<FileChoice> uiputfile(const std::vector<FileFilter>& filters,
                                    const std::string& title);
// Two buttons; `defaultButton` is one of them. "" when closed.
std::string questdlg(const std::string& question, const std::string& title,
                     const std::string& button1, const std::string& button2,
                     const std::string& defaultButton);
std::optional<Rgb> uisetcolor(const Rgb& initial);
// Returns at once. The empty title stands for defaultErrorTitle().
void errordlg(const std::string& text, const std::string& title = "");
// Returns at once. The empty title stands for defaultWarningTitle().
void warndlg(const std::string& text, const std::string& title = "");

// The language of the build ("de", "fr", "en"; "en" until set): the run-time's own texts
// follow it.
void setUiLanguage(const std::string& code);
const std::string& uiLanguage();
// The title of an error or warning dialog that was given none, in the build's language.
std::string defaultErrorTitle();
std::string defaultWarningTitle();

// pause(seconds) of the run-time: draws, takes no input, returns after the time.
void pause(double seconds);

}  // namespace rt
