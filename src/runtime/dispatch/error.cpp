#include "runtime/dispatch/error.h"

#include <iostream>
#include <new>

#include "runtime/host.h"

namespace rt {

namespace {
std::string& lastError() {
    static std::string text;
    return text;
}
WarningSink& sink() {
    static WarningSink s = [](const std::string& line) { std::cerr << line << std::endl; };
    return s;
}
}  // namespace

void error(const std::string& message) {
    if (!message.empty()) throw Error(message);
}

const std::string& lasterr() { return lastError(); }
void setLasterr(const std::string& message) { lastError() = message; }

const std::string& caught(const std::exception& e) {
    // The library's name for memory that ran out ("std::bad_alloc") tells a user nothing.
    setLasterr(dynamic_cast<const std::bad_alloc*>(&e) ? outOfMemoryMessage() : e.what());
    return lasterr();
}

std::string outOfMemoryMessage() {
    if (uiLanguage() == "de") return "Der Arbeitsspeicher reicht dafür nicht aus.";
    if (uiLanguage() == "fr") return "La mémoire ne suffit pas pour cette opération.";
    return "There is not enough memory for this.";
}

std::optional<std::string> catchError(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        return caught(e);
    }
    return std::nullopt;
}

void warning(const std::string& message) {
    if (message.empty()) return;
    sink()("Warning: " + message);
}

WarningSink setWarningSink(WarningSink s) {
    WarningSink old = std::move(sink());
    sink() = std::move(s);
    return old;
}

}  // namespace rt
