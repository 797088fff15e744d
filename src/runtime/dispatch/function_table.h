// The table of functions callable by name, with declared input and output counts.
// A negative count -(k+1) means k fixed arguments followed by any number more.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// A function callable by name: positional inputs, the number of outputs the caller asked
// for, and the outputs it assigned (a result shorter than nargout leaves the rest
// unassigned; the dispatcher turns a requested unassigned output into an error).
// nargout 0 is a call as a statement: at most one output, which the caller may ignore.
using NamedFn = std::function<Values(const Values& in, int nargout)>;

struct FunctionEntry {
    std::string name;
    NamedFn fn;
    int nin = 0;
    int nout = 0;
};

class FunctionTable {
public:
    // Adds an entry at the end; a second entry of the same name replaces the first in place.
    // Throws rt::Error for an empty name or an empty fn. Invalidates pointers from find():
    // build the table before calls run, never from inside one.
    void add(std::string name, int nin, int nout, NamedFn fn);
    const FunctionEntry* find(const std::string& name) const;  // nullptr when unknown
    const std::vector<FunctionEntry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }

    // Calls `name` with the count checks and the unassigned-output rule.
    // Throws rt::Error naming the function when a count is exceeded, the name is unknown,
    // or a requested output was not assigned.
    Values call(const std::string& name, const Values& in, int nargout) const;

    // The same for an entry already found (in this or another table). Returns exactly
    // nargout values (at most one when nargout is 0); errors propagate unchanged.
    static Values invoke(const FunctionEntry& entry, const Values& in, int nargout);

private:
    std::vector<FunctionEntry> entries_;
    std::unordered_map<std::string, std::size_t> index_;
};

// Whether n arguments fit a declared count (negative: k fixed and any number more).
bool countAllows(int declared, std::size_t n);
// The declared count as the argument-count error states it: "3", "2 fixed and more", "any number".
std::string declaredCountText(int declared);

// The run-time's error texts for calls by name.
std::string unknownFunctionMessage(const std::string& name);
std::string unassignedOutputMessage(const std::string& name);
[[noreturn]] void unassignedOutputError(const std::string& name);

// For adapters whose outputs may be left unassigned in the middle (a function that returns
// early after assigning some of them in an order other than output order): returns the
// first max(nargout, 1) slots, or none when nargout is 0 and the first slot is unset.
// Throws the unassigned-output error for `name` when a requested slot is unset.
Values assignedOutputs(const std::string& name, std::vector<std::optional<Value>> slots,
                       int nargout);

// nargchk(low, high, n): "Not enough input arguments." below low, "Too many input
// arguments." above high (high < 0: no upper limit), empty text otherwise (pass it to
// rt::error).
std::string nargchk(int low, int high, std::size_t n);

}  // namespace rt
