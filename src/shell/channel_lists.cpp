#include "shell/channel_lists.h"

namespace shell {

namespace {
constexpr Signal A = Signal::Alternator, Wh = Signal::Wheel, D = Signal::Drum, I = Signal::Ignition,
                 Off = Signal::Off;
}  // namespace

// Each list leaves out one type of the full list (none while channel 1 is off); when channel
// 2's choice is not in the new list, it takes channel 1's own type (the alternator while
// channel 1 is off).
const std::array<ChannelList, 5> kChannelLists{{
    {A, &Strings::popup_sig1, {A, Wh, D, Off}, A},
    {Wh, &Strings::popup_sig2, {A, Wh, I, Off}, Wh},
    {D, &Strings::popup_sig3, {A, D, I, Off}, D},
    {I, &Strings::popup_sig4, {Wh, D, I, Off}, I},
    {Off, &Strings::popup_sig, {A, Wh, D, I, Off}, A},
}};

const ChannelList* channel_list(int sig_ch1) {
    if (sig_ch1 < 1 || sig_ch1 > static_cast<int>(kChannelLists.size())) return nullptr;
    return &kChannelLists[static_cast<std::size_t>(sig_ch1 - 1)];
}

std::optional<Signal> channel2_type(int sig_ch1, int sig_ch2) {
    const ChannelList* list = channel_list(sig_ch1);
    if (!list || sig_ch2 < 1 || sig_ch2 > static_cast<int>(list->rows.size())) return std::nullopt;
    return list->rows[static_cast<std::size_t>(sig_ch2 - 1)];
}

bool drum_on_a_channel(int sig_ch1, int sig_ch2) {
    return sig_ch1 == static_cast<int>(Signal::Drum) ||
           channel2_type(sig_ch1, sig_ch2) == Signal::Drum;
}

}  // namespace shell
