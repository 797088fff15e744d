#include "runtime/host.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"

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

private:
    [[noreturn]] static void fail() { throw Error("No dialogs without a user interface."); }
};

class HeadlessHost : public Host {
public:
    ScreenInfo screen() const override { return {}; }
    // A rough proportional font: 0.6 em per character, 1.2 em per line.
    std::array<double, 2> measureText(const std::vector<std::u16string>& lines,
                                      const TextStyle& style) const override {
        std::size_t longest = 0;
        for (const auto& l : lines) longest = std::max(longest, l.size());
        const double em = style.fontSizePoints * ScreenInfo{}.pixelsPerInch / 72.0;
        return {0.6 * em * static_cast<double>(longest),
                1.2 * em * static_cast<double>(std::max<std::size_t>(1, lines.size()))};
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
    host().dialogs().error(text, title.empty() ? "Error Dialog" : title);
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
