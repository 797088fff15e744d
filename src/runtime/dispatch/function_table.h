// The table of functions callable by name, with declared input and output counts.
// A negative count -(k+1) means k fixed arguments followed by any number more.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// A function callable by name: positional inputs, the number of outputs the caller asked
// for, and the outputs it assigned (a result shorter than nargout leaves the rest
// unassigned; the dispatcher turns a requested unassigned output into an error).
using NamedFn = std::function<Values(const Values& in, int nargout)>;

struct FunctionEntry {
    std::string name;
    NamedFn fn;
    int nin = 0;
    int nout = 0;
};

class FunctionTable {
public:
    // Adds an entry at the end; a second entry of the same name replaces the first.
    void add(std::string name, int nin, int nout, NamedFn fn);
    const FunctionEntry* find(const std::string& name) const;  // nullptr when unknown
    const std::vector<FunctionEntry>& entries() const { return entries_; }

    // Calls `name` with the count checks and the unassigned-output rule.
    // Throws rt::Error naming the function when a count is exceeded, the name is unknown,
    // or a requested output was not assigned.
    Values call(const std::string& name, const Values& in, int nargout) const;

private:
    std::vector<FunctionEntry> entries_;
};

}  // namespace rt
