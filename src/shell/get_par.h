#pragma once

#include <array>
#include <optional>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/value.h"

namespace shell {

// The 24 values of the parameter record, in output order (m, cw, r, u, l, fl, J, ur, A, W,
// komment, cutvmax, sig_ch1, sig_ch2, xaxis, yaxis, wav_kom, T, P, tit, mr, Mr, cbh, fro).
// A slot stays empty when the panel was read only up to a field that is no number.
using ParSlots = std::array<std::optional<rt::Value>, 24>;

// The slots by name, in output order.
namespace par {
enum Slot {
    m,
    cw,
    r,
    u,
    l,
    fl,
    J,
    ur,
    A,
    W,
    komment,
    cutvmax,
    sig_ch1,
    sig_ch2,
    xaxis,
    yaxis,
    wav_kom,
    T,
    P,
    tit,
    mr,
    Mr,
    cbh,
    fro
};
}  // namespace par

inline constexpr const char* kParNames[24] = {
    "m",       "cw", "r",       "u",       "l",       "fl",      "J",     "ur",
    "A",       "W",  "komment", "cutvmax", "sig_ch1", "sig_ch2", "xaxis", "yaxis",
    "wav_kom", "T",  "P",       "tit",     "mr",      "Mr",      "cbh",   "fro"};

// Reads the panel. The first numeric field whose text (a decimal comma read as a point) is
// no number is reported in an error dialog naming its label; its slot holds the empty value
// and every slot read after it stays unset. Only the numeric fields of the first `count`
// outputs are read, so that a reader of fewer values is not told about a field it does not use.
ParSlots get_par(std::size_t count = 24);

// What a reader of the record meets when a field it needs is no number. get_par's dialog has
// named the field: this follow-on ends the action as its callback's error, which goes to
// standard error only, the field's dialog standing for it.
class FieldNotANumber : public rt::Error {
public:
    using rt::Error::Error;
};

// The first `count` values of the record, for the program's own actions; FieldNotANumber with
// the run-time's text for get_par's unassigned outputs when one of them is unset.
ParSlots read_par(std::size_t count = 24);

// The by-name entry "get_par": no inputs, 24 outputs; a requested unset output is the
// run-time's unassigned-output error.
void register_get_par(rt::FunctionTable& table);

}  // namespace shell
