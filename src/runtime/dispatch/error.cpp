#include "runtime/dispatch/error.h"

#include <iostream>

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
    setLasterr(e.what());
    return lasterr();
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
