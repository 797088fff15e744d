// Callback strings: the command texts stored in graphics objects (Callback,
// WindowButtonDownFcn, ...) and evaluated on the user's action.
//
// Grammar (whitespace is blanks and tabs; a newline also ends a statement):
//   program   := [ statement { sep statement } ] [ sep ]      sep := ";" | ","  (top level)
//   statement := call
//   call      := ident [ "(" [ expr { "," expr } ] ")" ]
//   expr      := text | number | row | call            (a nested call yields its first output)
//   text      := "'" { any character but "'" | "''" } "'"
//   number    := [ "+" | "-" ] ( digits [ "." [digits] ] | "." digits ) [ exponent ]
//                | [ "+" | "-" ] ( "NaN" | "Inf" )
//   row       := "[" [ number { ( blanks | "," ) number } ] "]"
//   ident     := letter { letter | digit | "_" }
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/value/value.h"

namespace rt {

struct CallbackCall;

// One argument of a call, as written.
struct CallbackArg {
    enum class Kind { Text, Number, Row, Call };
    Kind kind = Kind::Number;
    std::string text;                // Text: UTF-8, doubled apostrophes made single
    std::vector<double> numbers;     // Number: exactly one; Row: the elements (none for "[]")
    std::vector<CallbackCall> call;  // Call: exactly one
};

struct CallbackCall {
    std::string name;
    std::vector<CallbackArg> args;
    std::size_t offset = 0;  // byte offset of the name in the text, for messages
};

// Parses a whole callback text into its statements; an empty or blank text gives none.
// Throws rt::Error naming the position and what was expected on a syntax error (nothing of
// the text has run then). Nesting of calls deeper than 64 is refused as a syntax error.
std::vector<CallbackCall> parseCallback(std::string_view utf8);

// `text` as a text argument of a callback string: between apostrophes, every apostrophe of
// it doubled, so that any text (a path such as "Mike's runs") reads back unchanged.
std::u16string quotedArgument(const std::u16string& text);

// Evaluates callback texts. Names resolve first through `functions` (the program's table of
// functions callable by name), then through `builtins` (the graphics layer's set, get,
// close, findobj, delete), both held by reference and read at every call.
class CallbackInterpreter {
public:
    explicit CallbackInterpreter(const FunctionTable& functions,
                                 const FunctionTable* builtins = nullptr);

    // Runs the statements in order, each with nargout 0, nested calls with nargout 1;
    // arguments are evaluated left to right before their call. A text yields a 1xN char row
    // ('' the 0x0 char empty), a number a 1x1 double, a row a 1xN double ([] is 0x0).
    // Throws rt::Error: syntax, unknown name, argument counts, unassigned output, and
    // whatever a called function throws; statements after the failing one do not run.
    void eval(std::string_view utf8) const;
    void eval(const std::u16string& text) const;

    // The entry `name` resolves to, or nullptr.
    const FunctionEntry* resolve(const std::string& name) const;

private:
    Values run(const CallbackCall& call, int nargout) const;
    Value argument(const CallbackArg& arg) const;

    const FunctionTable& functions_;
    const FunctionTable* builtins_;
};

// Runs a callback text the way the event loop does: an error ends this callback only. It is
// caught (rt::Error or any std::exception), its message becomes lasterr and is written to
// `report` as the line "Error in callback: " + message. Returns whether the text ran without error.
bool runCallback(const CallbackInterpreter& interpreter, std::string_view utf8,
                 std::ostream& report);
bool runCallback(const CallbackInterpreter& interpreter, std::string_view utf8);  // stderr

}  // namespace rt
