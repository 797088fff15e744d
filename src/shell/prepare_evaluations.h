#pragma once

namespace shell {

// What the program readies at start-up so that the first evaluation does not pay for it: the
// memory kept for a recording's large buffers and the tone analysis's FFT plans, planned in
// the background with the wisdom of earlier runs (kept in the user's cache folder).
void prepare_evaluations();

}  // namespace shell
