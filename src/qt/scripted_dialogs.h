// Dialogs for tests: every dialog takes the next answer from a queue the test fills, and
// records what it was shown. A dialog whose kind does not match the next answer, or that
// finds the queue empty, is reported through the failure handler (a test passes one that
// fails the test) and then behaves as if the user had cancelled it.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/host.h"

namespace rt {

class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { GetFile, PutFile, Question, Color, Error, Warning };

    // What a dialog was shown with, in the order shown.
    struct Shown {
        Kind kind;
        std::string title;
        std::string text;                  // question, error or warning text
        std::vector<FileFilter> filters;   // file dialogs
        std::vector<std::string> buttons;  // question
        std::string defaultButton;         // question
        Rgb initial{};                     // colour
        std::filesystem::path folder;      // the working folder when it opened
    };

    // Receives one line describing the unexpected dialog. Default: throws rt::Error.
    using FailureHandler = std::function<void(const std::string&)>;
    explicit ScriptedDialogs(FailureHandler onUnexpected = {});

    // The next answers, consumed in order.
    void answerGetFile(std::optional<FileChoice> choice);  // nullopt: cancel
    void answerPutFile(std::optional<FileChoice> choice);
    void answerQuestion(std::string button);  // "": closed
    void answerColor(std::optional<Rgb> colour);
    void expectError();    // an error dialog may come
    void expectWarning();  // a warning dialog may come

    const std::vector<Shown>& shown() const { return shown_; }
    // The errors that ended a callback, as the run-time reported them (no answer is needed:
    // they come on top of what the test scripts).
    const std::vector<std::string>& reported() const { return reported_; }
    std::size_t pending() const { return answers_.size(); }  // answers not yet used

    std::optional<FileChoice> getFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::optional<FileChoice> putFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override;
    std::string question(const std::string& text, const std::string& title,
                         const std::vector<std::string>& buttons,
                         const std::string& defaultButton) override;
    std::optional<Rgb> color(const Rgb& initial) override;
    void error(const std::string& text, const std::string& title) override;
    void warning(const std::string& text, const std::string& title) override;
    void callbackError(const std::string& text, const std::string& title) override;

private:
    struct Answer {
        Kind kind;
        std::optional<FileChoice> file;
        std::string button;
        std::optional<Rgb> colour;
    };
    // The answer for a dialog of `kind` just shown, or nullptr after reporting a failure.
    const Answer* next(Kind kind);

    FailureHandler fail_;
    std::deque<Answer> answers_;
    Answer current_;
    std::vector<Shown> shown_;
    std::vector<std::string> reported_;
};

}  // namespace rt
