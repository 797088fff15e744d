#include "qt/scripted_dialogs.h"

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

const char* kindName(ScriptedDialogs::Kind k) {
    switch (k) {
        case ScriptedDialogs::Kind::GetFile:
            return "uigetfile";
        case ScriptedDialogs::Kind::PutFile:
            return "uiputfile";
        case ScriptedDialogs::Kind::Question:
            return "questdlg";
        case ScriptedDialogs::Kind::Color:
            return "uisetcolor";
        case ScriptedDialogs::Kind::Error:
            return "errordlg";
        case ScriptedDialogs::Kind::Warning:
            return "warndlg";
    }
    return "dialog";
}

std::filesystem::path workingFolder() {
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

}  // namespace

ScriptedDialogs::ScriptedDialogs(FailureHandler onUnexpected) : fail_(std::move(onUnexpected)) {
    if (!fail_) fail_ = [](const std::string& line) { throw Error(line); };
}

void ScriptedDialogs::answerGetFile(std::optional<FileChoice> choice) {
    answers_.push_back({Kind::GetFile, std::move(choice), {}, {}});
}
void ScriptedDialogs::answerPutFile(std::optional<FileChoice> choice) {
    answers_.push_back({Kind::PutFile, std::move(choice), {}, {}});
}
void ScriptedDialogs::answerQuestion(std::string button) {
    answers_.push_back({Kind::Question, {}, std::move(button), {}});
}
void ScriptedDialogs::answerColor(std::optional<Rgb> colour) {
    answers_.push_back({Kind::Color, {}, {}, colour});
}
void ScriptedDialogs::expectError() { answers_.push_back({Kind::Error, {}, {}, {}}); }
void ScriptedDialogs::expectWarning() { answers_.push_back({Kind::Warning, {}, {}, {}}); }

const ScriptedDialogs::Answer* ScriptedDialogs::next(Kind kind) {
    const Shown& s = shown_.back();
    if (answers_.empty() || answers_.front().kind != kind) {
        std::string line = std::string("Unexpected ") + kindName(kind) + " \"" + s.title + "\"";
        if (!s.text.empty()) line += ": " + s.text;
        if (!answers_.empty())
            line +=
                std::string(" (the next answer is for ") + kindName(answers_.front().kind) + ")";
        fail_(line);
        return nullptr;
    }
    current_ = std::move(answers_.front());
    answers_.pop_front();
    return &current_;
}

std::optional<FileChoice> ScriptedDialogs::getFile(const std::vector<FileFilter>& filters,
                                                   const std::string& title) {
    shown_.push_back({Kind::GetFile, title, {}, filters, {}, {}, {}, workingFolder()});
    const Answer* a = next(Kind::GetFile);
    return a ? a->file : std::nullopt;
}

std::optional<FileChoice> ScriptedDialogs::putFile(const std::vector<FileFilter>& filters,
                                                   const std::string& title) {
    shown_.push_back({Kind::PutFile, title, {}, filters, {}, {}, {}, workingFolder()});
    const Answer* a = next(Kind::PutFile);
    return a ? a->file : std::nullopt;
}

std::string ScriptedDialogs::question(const std::string& text, const std::string& title,
                                      const std::vector<std::string>& buttons,
                                      const std::string& defaultButton) {
    shown_.push_back(
        {Kind::Question, title, text, {}, buttons, defaultButton, {}, workingFolder()});
    const Answer* a = next(Kind::Question);
    return a ? a->button : std::string();
}

std::optional<Rgb> ScriptedDialogs::color(const Rgb& initial) {
    shown_.push_back({Kind::Color, {}, {}, {}, {}, {}, initial, workingFolder()});
    const Answer* a = next(Kind::Color);
    return a ? a->colour : std::nullopt;
}

void ScriptedDialogs::error(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::Error, title, text, {}, {}, {}, {}, workingFolder()});
    next(Kind::Error);
}

void ScriptedDialogs::warning(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::Warning, title, text, {}, {}, {}, {}, workingFolder()});
    next(Kind::Warning);
}

void ScriptedDialogs::callbackError(const std::string& text, const std::string&) {
    reported_.push_back(text);
}

}  // namespace rt
