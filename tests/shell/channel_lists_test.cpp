// The one channel table against the lists every build shows.
#include "shell/channel_lists.h"

#include <gtest/gtest.h>

#include <cwctype>

#include "support/shell_test_support.h"

namespace {

// The French lists of channel 1 types 3 and 4 spell the drum with a small letter; the panel
// depends on that (its choice is kept by the letters), so only the first letter's case may
// differ from the full list.
std::u16string first_letter_small(std::u16string s) {
    if (!s.empty()) s[0] = static_cast<char16_t>(std::towlower(s[0]));
    return s;
}

}  // namespace

TEST(ChannelLists, EveryBuildsListsHoldTheRowsOfTheirTypes) {
    for (const shell_test::Build& b : shell_test::kBuilds) {
        const shell::Strings& st = b.table();
        ASSERT_EQ(st.popup_sig.rows.size(), shell::kChannelLists.size()) << b.name;
        for (std::size_t i = 0; i < shell::kChannelLists.size(); ++i) {
            const shell::ChannelList& list = shell::kChannelLists[i];
            SCOPED_TRACE(std::string(b.name) + " channel 1 of type " + std::to_string(i + 1));
            EXPECT_EQ(static_cast<std::size_t>(list.ch1), i + 1);
            const shell::TextList& texts = st.*list.texts;
            EXPECT_EQ(texts.width, st.popup_sig.width);
            ASSERT_EQ(texts.rows.size(), list.rows.size());
            for (std::size_t r = 0; r < list.rows.size(); ++r) {
                const std::u16string& full =
                    st.popup_sig.rows[static_cast<std::size_t>(list.rows[r]) - 1];
                EXPECT_EQ(first_letter_small(texts.rows[r]), first_letter_small(full))
                    << "row " << r + 1;
            }
        }
    }
}
