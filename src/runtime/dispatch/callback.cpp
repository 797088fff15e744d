#include "runtime/dispatch/callback.h"

#include <iostream>

#include "runtime/dispatch/error.h"

namespace rt {

CallbackInterpreter::CallbackInterpreter(const FunctionTable& functions,
                                         const FunctionTable* builtins)
    : functions_(functions), builtins_(builtins) {}

const FunctionEntry* CallbackInterpreter::resolve(const std::string& name) const {
    if (const FunctionEntry* e = functions_.find(name)) return e;
    return builtins_ ? builtins_->find(name) : nullptr;
}

void CallbackInterpreter::eval(std::string_view utf8) const {
    // Parse everything first: a text with a syntax error runs none of its statements.
    for (const CallbackCall& statement : parseCallback(utf8)) run(statement, 0);
}

void CallbackInterpreter::eval(const std::u16string& text) const { eval(utf8(text)); }

Values CallbackInterpreter::run(const CallbackCall& call, int nargout) const {
    Values in;
    in.reserve(call.args.size());
    for (const CallbackArg& a : call.args) in.push_back(argument(a));
    const FunctionEntry* entry = resolve(call.name);
    if (!entry) throw Error(unknownFunctionMessage(call.name));
    return FunctionTable::invoke(*entry, in, nargout);
}

Value CallbackInterpreter::argument(const CallbackArg& arg) const {
    switch (arg.kind) {
        case CallbackArg::Kind::Text:
            return arg.text.empty() ? Value::chars(0, 0, u"") : Value(arg.text);
        case CallbackArg::Kind::Number:
            return Value(arg.numbers.at(0));
        case CallbackArg::Kind::Row:
            return arg.numbers.empty() ? Value() : Value::row(arg.numbers);
        case CallbackArg::Kind::Call:
            return run(arg.call.at(0), 1).at(0);
    }
    throw Error("Unknown argument kind in a callback.");
}

std::u16string quotedArgument(const std::u16string& text) {
    std::u16string out = u"'";
    for (char16_t c : text) {
        out += c;
        if (c == u'\'') out += u'\'';
    }
    return out + u"'";
}

bool runCallback(const CallbackInterpreter& interpreter, std::string_view utf8,
                 std::ostream& report) {
    try {
        interpreter.eval(utf8);
        return true;
    } catch (const std::exception& e) {
        report << "Error in callback: " << caught(e) << std::endl;
    } catch (...) {
        // Not ours, but the loop must go on all the same.
        setLasterr("Unknown error in callback.");
        report << "Error in callback: " << lasterr() << std::endl;
    }
    return false;
}

bool runCallback(const CallbackInterpreter& interpreter, std::string_view utf8) {
    return runCallback(interpreter, utf8, std::cerr);
}

}  // namespace rt
