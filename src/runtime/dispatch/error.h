// The run-time's one error kind, lasterr and the warning sink.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace rt {

// Every failure the program can catch: error(text), failing operations, argument counts.
// The message is the plain text (UTF-8); a re-raise with lasterr() keeps it unchanged.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// error(text): throws rt::Error; an empty text does nothing.
void error(const std::string& message);

// The message of the last error caught by the program (set by catchError / the dispatcher).
const std::string& lasterr();
void setLasterr(const std::string& message);

// For the program's catch blocks: makes the caught error's message lasterr and returns it;
// memory that ran out (std::bad_alloc) gives outOfMemoryMessage().
const std::string& caught(const std::exception& e);
std::string outOfMemoryMessage();  // in the build's language

// A try/catch in one call: runs body; when it throws rt::Error (or another std::exception)
// its message becomes lasterr and is returned. nullopt when body completed.
std::optional<std::string> catchError(const std::function<void()>& body);

// warning(text): "Warning: " + text on the warning sink; an empty text prints nothing.
void warning(const std::string& message);

// The sink receives each warning line without its trailing newline. Default: standard error.
// Returns the previous sink so tests can restore it.
using WarningSink = std::function<void(const std::string& line)>;
WarningSink setWarningSink(WarningSink sink);

}  // namespace rt
