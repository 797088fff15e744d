#include "runtime/dispatch/function_table.h"

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

std::string countError(const char* what, const std::string& name, std::size_t given, int declared) {
    return std::string("Too many ") + what + " arguments in call to '" + name + "' (" +
           std::to_string(given) + " given, declared: " + declaredCountText(declared) + ").";
}

}  // namespace

bool countAllows(int declared, std::size_t n) {
    return declared < 0 || n <= static_cast<std::size_t>(declared);
}

std::string declaredCountText(int declared) {
    if (declared >= 0) return std::to_string(declared);
    // -(k+1): k fixed arguments, then any number more.
    const long long fixed = -static_cast<long long>(declared) - 1;
    if (fixed == 0) return "any number";
    return std::to_string(fixed) + " fixed and more";
}

std::string unknownFunctionMessage(const std::string& name) {
    return "Undefined function '" + name + "'.";
}

std::string unassignedOutputMessage(const std::string& name) {
    return "One or more output arguments not assigned during call to '" + name + "'.";
}

void unassignedOutputError(const std::string& name) { throw Error(unassignedOutputMessage(name)); }

void FunctionTable::add(std::string name, int nin, int nout, NamedFn fn) {
    if (name.empty()) throw Error("A function callable by name needs a name.");
    if (!fn) throw Error("The function '" + name + "' has no body.");
    FunctionEntry entry{std::move(name), std::move(fn), nin, nout};
    if (auto it = index_.find(entry.name); it != index_.end()) {
        entries_[it->second] = std::move(entry);
        return;
    }
    index_.emplace(entry.name, entries_.size());
    entries_.push_back(std::move(entry));
}

const FunctionEntry* FunctionTable::find(const std::string& name) const {
    auto it = index_.find(name);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

Values FunctionTable::call(const std::string& name, const Values& in, int nargout) const {
    const FunctionEntry* entry = find(name);
    if (!entry) throw Error(unknownFunctionMessage(name));
    return invoke(*entry, in, nargout);
}

Values FunctionTable::invoke(const FunctionEntry& entry, const Values& in, int nargout) {
    if (nargout < 0) throw Error("Invalid number of outputs in call to '" + entry.name + "'.");
    if (!countAllows(entry.nin, in.size()))
        throw Error(countError("input", entry.name, in.size(), entry.nin));
    if (!countAllows(entry.nout, static_cast<std::size_t>(nargout)))
        throw Error(
            countError("output", entry.name, static_cast<std::size_t>(nargout), entry.nout));
    Values out = entry.fn(in, nargout);
    if (out.size() < static_cast<std::size_t>(nargout)) unassignedOutputError(entry.name);
    const std::size_t keep = nargout == 0 ? 1 : static_cast<std::size_t>(nargout);
    if (out.size() > keep) out.resize(keep);
    return out;
}

Values assignedOutputs(const std::string& name, std::vector<std::optional<Value>> slots,
                       int nargout) {
    const std::size_t want = nargout <= 0 ? 1 : static_cast<std::size_t>(nargout);
    Values out;
    out.reserve(want);
    for (std::size_t i = 0; i < want; ++i) {
        if (i >= slots.size() || !slots[i]) {
            if (nargout == 0) break;  // a statement asks for nothing
            unassignedOutputError(name);
        }
        out.push_back(std::move(*slots[i]));
    }
    return out;
}

std::string nargchk(int low, int high, std::size_t n) {
    if (low > 0 && n < static_cast<std::size_t>(low)) return "Not enough input arguments.";
    if (high >= 0 && n > static_cast<std::size_t>(high)) return "Too many input arguments.";
    return {};
}

}  // namespace rt
