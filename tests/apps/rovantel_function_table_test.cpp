#include "apps/rovantel_function_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/dispatch/error.h"

// The declared counts that callers and callback strings rely on.
TEST(RovantelFunctionTable, EntriesCarryTheirDeclaredCountsInTheProgramsOrder) {
    rt::FunctionTable t = apps::rovantel_function_table();
    const std::map<std::string, std::pair<int, int>> counts = {{"rovantel", {0, 0}},
                                                               {"get_wav_filename", {0, 0}},
                                                               {"save_par", {0, 0}},
                                                               {"set_sdiag_color", {0, 0}},
                                                               {"adj_par", {0, 0}},
                                                               {"clear_cache", {0, 0}},
                                                               {"wheel", {0, 0}},
                                                               {"gearing_tab", {1, 0}},
                                                               {"wheel_tab", {1, 0}},
                                                               {"wheel_tab_add", {0, 0}},
                                                               {"load_par", {1, 0}},
                                                               {"get_par", {0, 24}},
                                                               {"strings", {0, 1}},
                                                               {"butter", {-3, 4}},
                                                               {"waitbar", {-3, 1}},
                                                               {"title", {-2, 1}},
                                                               {"xlabel", {-2, 1}},
                                                               {"ylabel", {-2, 1}},
                                                               {"signal/private/iirchk", {-2, 3}},
                                                               {"specgram", {-1, 3}},
                                                               {"clf", {-1, 1}},
                                                               {"imagesc", {-1, 1}},
                                                               {"hanning", {-1, 1}},
                                                               {"upfirdn", {-1, -1}},
                                                               {"isdir", {1, 1}},
                                                               {"isodd", {1, 1}},
                                                               {"tit", {2, 0}},
                                                               {"uicontrols_main", {1, 0}},
                                                               {"calc_diag", {0, 0}},
                                                               {"wav2v", {9, 2}},
                                                               {"dig2v", {5, 2}},
                                                               {"plot_diag", {8, 0}},
                                                               {"ax_lims", {4, 3}},
                                                               {"toggle_vis", {1, 0}},
                                                               {"ch_color", {1, 0}},
                                                               {"meanvis", {1, 0}},
                                                               {"export_ascii", {1, 0}},
                                                               {"print_fig", {1, 0}},
                                                               {"cut_file_spect", {7, 2}},
                                                               {"cut_file_digi", {6, 2}},
                                                               {"era_file_spect", {7, 4}},
                                                               {"save_wav_cut", {1, 0}},
                                                               {"save_wav_era", {3, 0}},
                                                               {"put_wav_filename", {2, 0}},
                                                               {"togeraser", {0, 0}},
                                                               {"erase", {0, 0}},
                                                               {"erase_stop", {0, 0}}};
    for (const auto& [name, io] : counts) {
        const rt::FunctionEntry* e = t.find(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->nin, io.first) << name;
        EXPECT_EQ(e->nout, io.second) << name;
    }
    // Entries keep the program's order: the entry first, the private checks last, and the
    // functions built so far in their places between.
    EXPECT_EQ(t.entries().front().name, "rovantel");
    EXPECT_EQ(t.entries().back().name, "signal/private/check_order");
    const std::vector<std::string> order = {"rovantel",
                                            "get_wav_filename",
                                            "get_out_filename",
                                            "calc_diag",
                                            "wav2v",
                                            "plot_diag",
                                            "load_par",
                                            "save_par",
                                            "set_sdiag_color",
                                            "adj_par",
                                            "dig2v",
                                            "cut_file_spect",
                                            "cut_file_digi",
                                            "save_wav_cut",
                                            "put_wav_filename",
                                            "toggle_vis",
                                            "ax_lims",
                                            "ch_color",
                                            "isodd",
                                            "clear_cache",
                                            "wheel",
                                            "calc_wheel",
                                            "wheel_tab",
                                            "wheel_tab_bdf",
                                            "wheel_tab_rm",
                                            "wheel_tab_add",
                                            "print_fig",
                                            "gearing_tab",
                                            "gearing_tab_bdf",
                                            "gearing_tab_rm",
                                            "gearing_tab_add",
                                            "export_ascii",
                                            "togeraser",
                                            "erase",
                                            "erase_stop",
                                            "meanvis",
                                            "era_file_spect",
                                            "save_wav_era",
                                            "uicontrols_main",
                                            "isdir",
                                            "strings",
                                            "butter",
                                            "filtfilt",
                                            "get_par",
                                            "wavread",
                                            "resample",
                                            "specgram",
                                            "title",
                                            "xlabel",
                                            "tit",
                                            "waitbar",
                                            "clf",
                                            "imagesc",
                                            "ylabel",
                                            "wavwrite",
                                            "modulate",
                                            "bilinear",
                                            "buttap",
                                            "signal/private/iirchk",
                                            "lp2bp",
                                            "lp2bs",
                                            "lp2hp",
                                            "lp2lp",
                                            "firls",
                                            "kaiser",
                                            "upfirdn",
                                            "czt",
                                            "hanning",
                                            "hilbert",
                                            "signal/private/firchk",
                                            "sinc",
                                            "signal/private/check_order"};
    ASSERT_EQ(order.size(), 72u);
    auto next = order.begin();
    for (const rt::FunctionEntry& e : t.entries()) {
        auto found = std::find(next, order.end(), e.name);
        EXPECT_NE(found, order.end()) << e.name << " is out of the program's order";
        if (found != order.end()) next = found + 1;
    }
    // The tables' entries follow clear_cache in the program's order.
    std::vector<std::string> names;
    for (const auto& e : t.entries()) names.push_back(e.name);
    auto at = std::find(names.begin(), names.end(), "clear_cache");
    ASSERT_NE(at, names.end());
    EXPECT_EQ(std::vector<std::string>(at + 1, at + 7),
              (std::vector<std::string>{"wheel", "calc_wheel", "wheel_tab", "wheel_tab_bdf",
                                        "wheel_tab_rm", "wheel_tab_add"}));
    at = std::find(names.begin(), names.end(), "gearing_tab");
    ASSERT_LE(at + 4, names.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 4),
              (std::vector<std::string>{"gearing_tab", "gearing_tab_bdf", "gearing_tab_rm",
                                        "gearing_tab_add"}));
    // A call by name with one input too many names the function.
    try {
        t.call("isdir", {rt::Value("a"), rt::Value("b")}, 1);
        FAIL();
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("isdir"), std::string::npos);
    }
}

// The entries built so far stand in the program's order, whichever are still missing.
TEST(RovantelFunctionTable, EntriesFollowTheProgramsList) {
    std::istringstream list(
        "rovantel get_wav_filename get_out_filename calc_diag wav2v plot_diag load_par save_par "
        "set_sdiag_color adj_par dig2v cut_file_spect cut_file_digi save_wav_cut "
        "put_wav_filename toggle_vis ax_lims ch_color isodd clear_cache wheel calc_wheel "
        "wheel_tab wheel_tab_bdf wheel_tab_rm wheel_tab_add print_fig gearing_tab "
        "gearing_tab_bdf gearing_tab_rm gearing_tab_add export_ascii togeraser erase erase_stop "
        "meanvis era_file_spect save_wav_era uicontrols_main isdir strings butter filtfilt "
        "get_par wavread resample specgram title xlabel tit waitbar clf imagesc ylabel wavwrite "
        "modulate bilinear buttap signal/private/iirchk lp2bp lp2bs lp2hp lp2lp firls kaiser "
        "upfirdn czt hanning hilbert signal/private/firchk sinc signal/private/check_order");
    const std::vector<std::string> order{std::istream_iterator<std::string>(list), {}};
    ASSERT_EQ(order.size(), 72u);
    const rt::FunctionTable t = apps::rovantel_function_table();
    std::size_t next = 0;
    for (const rt::FunctionEntry& e : t.entries()) {
        const auto at = std::find(order.begin() + std::ptrdiff_t(next), order.end(), e.name);
        ASSERT_NE(at, order.end()) << e.name << " is out of order or not the program's";
        next = std::size_t(at - order.begin()) + 1;
    }
}
