#include "runtime/host.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"

namespace rt {

namespace {

// Stands in when no toolkit is installed (core tests, tools): geometry questions get plain
// answers so the object model works; anything that needs a user fails loudly.
class HeadlessDialogs : public Dialogs {
public:
    std::optional<FileChoice> getFile(const std::vector<FileFilter>&, const std::string&) override {
        fail();
    }
    std::optional<FileChoice> putFile(const std::vector<FileFilter>&, const std::string&) override {
        fail();
    }
    std::string question(const std::string&, const std::string&, const std::vector<std::string>&,
                         const std::string&) override {
        fail();
    }
    std::optional<Rgb> color(const Rgb&) override { fail(); }
    void error(const std::string&, const std::string&) override { fail(); }
    // A warning needs no answer: it goes where the run-time's warnings go.
    void warning(const std::string& text, const std::string&) override { rt::warning(text); }

private:
    [[noreturn]] static void fail() { throw Error("No dialogs without a user interface."); }
};

class HeadlessHost : public Host {
public:
    ScreenInfo screen() const override { return {}; }
    // A rough proportional font: 0.6 em per character, 1.2 em per line.
    TextMetrics measureText(const std::string& text, const FontSpec& font) const override {
        std::size_t lines = 1, longest = 0, current = 0;
        for (unsigned char c : text) {
            if (c == '\n') {
                ++lines;
                current = 0;
            } else if ((c & 0xC0) != 0x80) {
                longest = std::max(longest, ++current);
            }
        }
        TextMetrics m;
        m.width = 0.6 * font.points * static_cast<double>(longest);
        m.height = 1.2 * font.points * static_cast<double>(lines);
        m.ascent = 0.9 * font.points;
        m.descent = 0.3 * font.points;
        return m;
    }
    Dialogs& dialogs() override { return dialogs_; }
    void serveUntil(const std::function<bool()>& done) override {
        if (!done()) throw Error("Cannot wait without a user interface.");
    }
    void flush() override {}
    void pause(double) override {}

private:
    HeadlessDialogs dialogs_;
};

HeadlessHost& headless() {
    static HeadlessHost h;
    return h;
}

Host*& installed() {
    static Host* h = nullptr;
    return h;
}

std::string& language() {
    static std::string code = "en";
    return code;
}

}  // namespace

Host& host() {
    Host* h = installed();
    return h ? *h : headless();
}

Host* setHost(Host* h) {
    Host* old = installed();
    installed() = h;
    return old;
}

std::optional<FileChoice> uigetfile(const std::vector<FileFilter>& filters,
                                    const std::string& title) {
    return host().dialogs().getFile(filters, title);
}

std::optional<FileChoice> uiputfile(const std::vector<FileFilter>& filters,
                                    const std::string& title) {
    return host().dialogs().putFile(filters, title);
}

std::string questdlg(const std::string& question, const std::string& title,
                     const std::string& button1, const std::string& button2,
                     const std::string& defaultButton) {
    return host().dialogs().question(question, title, {button1, button2}, defaultButton);
}

std::optional<Rgb> uisetcolor(const Rgb& initial) { return host().dialogs().color(initial); }

void errordlg(const std::string& text, const std::string& title) {
    host().dialogs().error(text, title.empty() ? defaultErrorTitle() : title);
}

void warndlg(const std::string& text, const std::string& title) {
    host().dialogs().warning(text, title.empty() ? defaultWarningTitle() : title);
}

void setUiLanguage(const std::string& code) { language() = code.empty() ? "en" : code; }

const std::string& uiLanguage() { return language(); }

std::string defaultErrorTitle() {
    if (language() == "de") return "Fehler";
    if (language() == "fr") return "Erreur";
    return "Error Dialog";
}

std::string defaultWarningTitle() {
    if (language() == "de") return "Warnung";
    if (language() == "fr") return "Avertissement";
    return "Warning Dialog";
}

void drawnow() { host().flush(); }

void pause(double seconds) {
    if (std::isnan(seconds) || seconds <= 0) {
        host().flush();
        return;
    }
    host().pause(seconds);
}

}  // namespace rt
