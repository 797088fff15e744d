#include <fstream>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "shell/panel.h"
#include "support/shell_fixture.h"
#include "support/shell_test_support.h"

using shell_test::ShellTest;

TEST_F(ShellTest, StartsWithThePanelDefaultsInEveryLanguage) {
    for (const shell_test::Build& lang : shell_test::kBuilds) {
        SCOPED_TRACE(lang.name);
        const shell::Strings& st = lang.table();
        EXPECT_EQ(start(st), "");  // no start file, no start-up line

        rt::Value fig = shell::tagged("Main Figure");
        ASSERT_EQ(fig.numel(), 1u);
        EXPECT_EQ(rt::get(fig, "Name").text(), "Rovantel V0.1.18");
        EXPECT_EQ(rt::get(fig, "UserData").scalar(), 1);
        EXPECT_EQ(rt::get(fig, "NumberTitle").text(), "off");
        EXPECT_EQ(rt::get(fig, "MenuBar").text(), "none");
        rt::Value controls = rt::findobj({fig, rt::Value("Type"), rt::Value("uicontrol")});
        EXPECT_EQ(controls.numel(), 58u);

        EXPECT_EQ(text("wav_file"), "");
        EXPECT_EQ(value("cut_File"), 1);
        EXPECT_EQ(value("cut_Vmax"), 1);
        EXPECT_EQ(value("add_wav_to_comment"), 0);
        EXPECT_EQ(value("add_par_to_comment"), 0);
        const std::pair<const char*, const char*> fields[] = {
            {"total_mass", "200.0"},   {"cw_value", "0.5"},    {"frontal_area", "0.75"},
            {"fro_value", "0.015"},    {"gear_ratio", "6.32"}, {"wheel_perim", "1.325"},
            {"filt_length", "1"},      {"lima", "3"},          {"wheel_sens", "1"},
            {"air_temp", "20"},        {"air_pres", "1013"},   {"total_tork", "1.08"},
            {"cylin_perim", "0.9321"}, {"min_rpm", "500"},     {"max_rpm", "16000"}};
        for (const auto& [tag, want] : fields) EXPECT_EQ(text(tag), want) << tag;
        EXPECT_EQ(shell::string_of("comment_spect_diag"), st.comment);
        EXPECT_EQ(text("title_txt"), "Rovantel V0.1.18");

        // adj_par ran: channel 2 offers the list for channel 1's first type, row 1.
        EXPECT_EQ(value("popup_sig_ch1"), 1);
        EXPECT_EQ(value("popup_sig_ch2"), 1);
        EXPECT_EQ(prop("popup_sig_ch2", "String").rows(), st.popup_sig1.rows.size());
        EXPECT_EQ(item("popup_sig_ch2", 3), st.popup_sig1.rows[2]);
        for (const char* drum : {"total_tork_txt", "total_tork", "cylin_perim_txt", "cylin_perim"})
            EXPECT_EQ(prop(drum, "Visible").text(), "off") << drum;
        EXPECT_EQ(shell::string_of("wheel_sens_txt"), st.wheel_sens);

        // The colour button is white on blue; nobody can find the clear-cache button by Tag.
        EXPECT_EQ(rt::toVector(prop("set_sdiag_color", "BackgroundColor")),
                  (std::vector<double>{0, 0, 1}));
        EXPECT_EQ(rt::toVector(prop("set_sdiag_color", "ForegroundColor")),
                  (std::vector<double>{1, 1, 1}));
        EXPECT_TRUE(shell::tagged("clear_cache").isEmpty());
        EXPECT_EQ(text("clear_cach"), rt::utf8(st.clear_cache));

        // The result cache axes lies outside the window and keeps what is plotted into it.
        rt::Value cache = shell::tagged("Saved Data");
        ASSERT_EQ(cache.numel(), 1u);
        EXPECT_EQ(rt::get(cache, "NextPlot").text(), "add");
        EXPECT_EQ(rt::toVector(rt::get(cache, "Position")),
                  (std::vector<double>{-10, -10, 0.1, 0.1}));
        // Every control is positioned in normalized units.
        EXPECT_EQ(rt::get(shell::tagged("total_mass"), "Units").text(), "normalized");
    }
}

TEST_F(ShellTest, AStartFileFillsThePanelBeforeTheLineIsPrinted) {
    start();
    type("total_mass", "150,5");
    type("air_temp", "25");
    choose("popup_sig_ch1", 3);
    choose("popup_sig_ch2", 2);
    dialogs_.answerPutFile(rt::FileChoice{"rovantel_start.cfg", dir_.string() + "/"});
    click_label(shell::german_table().save);

    EXPECT_EQ(start(), "loading rovantel_start.cfg\n");
    EXPECT_EQ(shell::tagged("Main Figure").numel(), 1u);  // close all removed the first window
    EXPECT_EQ(text("total_mass"), "150.5");
    EXPECT_EQ(text("air_temp"), "25");
    EXPECT_EQ(value("popup_sig_ch1"), 3);
    EXPECT_EQ(value("popup_sig_ch2"), 2);
}

TEST_F(ShellTest, AStartFileThatIsNoParameterFileStopsStartUpWithoutTheLine) {
    std::ofstream("rovantel_start.cfg") << "not a parameter file";
    std::string out;
    testing::internal::CaptureStdout();
    EXPECT_THROW(interp_->eval("rovantel"), rt::Error);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "");
    EXPECT_EQ(shell::tagged("Main Figure").numel(), 1u);
    EXPECT_EQ(shell::tagged("Saved Data").numel(), 1u);
    EXPECT_EQ(text("total_mass"), "200.0");
}
