// The channel choice of the main window: the signal types of the full list and, for each type
// of channel 1, the types channel 2's list offers. The text tables' lists are checked against
// it; adj_par, load_par and the evaluation's channel table read it.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "shell/strings.h"

namespace shell {

// Signal types, numbered as the rows of the full list (popup_sig).
enum class Signal { Alternator = 1, Wheel = 2, Drum = 3, Ignition = 4, Off = 5 };

// Channel 2's list while channel 1 has the type `ch1`.
struct ChannelList {
    Signal ch1;
    TextList Strings::*texts;  // the list in the text table
    std::vector<Signal> rows;  // the type of each of its rows
    Signal fallback;           // taken when channel 2's previous choice is not in the list
};

// One entry per type, in the order of the full list.
extern const std::array<ChannelList, 5> kChannelLists;

// Channel 2's list for channel 1 at row sig_ch1 of the full list; nullptr outside it.
const ChannelList* channel_list(int sig_ch1);

// The type of channel 2 from both list positions; nullopt for a position its list lacks.
std::optional<Signal> channel2_type(int sig_ch1, int sig_ch2);

// Whether one of the channels carries the drum signal: the power then follows the drum, and
// the panel shows the drum's fields.
bool drum_on_a_channel(int sig_ch1, int sig_ch2);

}  // namespace shell
