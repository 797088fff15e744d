#include "shell/panel.h"

#include <algorithm>
#include <fstream>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"
#include "runtime/fileio/varfile.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "support/shell_fixture.h"
#include "support/shell_test_support.h"
#include "support/test_helpers.h"

using shell_test::ShellTest;

namespace {
// Asks for all 24 outputs of get_par the way the evaluation does.
rt::Values call_get_par(const rt::FunctionTable& t, int nargout = 24) {
    return t.call("get_par", {}, nargout);
}
// The parameter file at `file` with its title claiming 4294967295 rows of no characters and a
// checksum that fits, as a hostile file would be made.
void forge_empty_title(const std::filesystem::path& file) {
    std::vector<rt::NamedValue> vars = rt::load(file.string());
    for (rt::NamedValue& nv : vars)
        if (nv.name == "tit") nv.value = rt::Value::chars(1, 0, u"");
    std::vector<std::uint8_t> b = rt::encodeVariables(vars);
    const std::vector<std::uint8_t> record = {3, 't', 'i', 't', 3, 1, 0, 0, 0, 0, 0, 0, 0};
    auto at = std::search(b.begin(), b.end(), record.begin(), record.end());
    ASSERT_NE(at, b.end());
    std::fill(at + 5, at + 9, 0xFF);
    const std::uint32_t crc = rt::variableFileChecksum(b.data(), b.size() - 4);
    for (int k = 0; k < 4; ++k) b[b.size() - 4 + k] = static_cast<std::uint8_t>(crc >> 8 * k);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
}  // namespace

TEST_F(ShellTest, GetParReadsTheRecordWithADecimalComma) {
    start();
    type("frontal_area", "0,75");
    type("air_pres", "1013");
    type("wheel_perim", "1 2");
    rt::Values par = call_get_par(table_);
    ASSERT_EQ(par.size(), 24u);
    EXPECT_EQ(par[8].scalar(), 0.75);   // A
    EXPECT_EQ(par[18].scalar(), 1013);  // P
    EXPECT_EQ(par[3].numel(), 2u);      // several numbers are accepted unchanged
    EXPECT_EQ(par[0].scalar(), 200);
    EXPECT_EQ(par[12].scalar(), 1);  // sig_ch1
    EXPECT_EQ(par[19].text(), "Rovantel V0.1.18");
    EXPECT_EQ(par[22].scalar(), 1);      // cbh
    EXPECT_EQ(par[23].scalar(), 0.015);  // fro
}

TEST_F(ShellTest, GetParReportsOnlyTheFirstBadFieldAndLeavesTheRestUnassigned) {
    start();
    type("air_temp", "12a");
    dialogs_.expectError();
    try {
        call_get_par(table_);
        FAIL() << "no unassigned-output error";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("get_par"), std::string::npos);
    }
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(dialogs_.shown()[0].text, "Fehlerhaftes Zahlenformat von Luft Temperatur [°C]12a");

    // Outputs read before the failing field are still there for a caller that asks less.
    dialogs_.expectError();
    rt::Values first = call_get_par(table_, 17);
    EXPECT_EQ(first.size(), 17u);

    type("air_temp", "");
    dialogs_.expectError();
    EXPECT_THROW(call_get_par(table_), rt::Error);
    EXPECT_EQ(dialogs_.shown().back().text, "Fehlerhaftes Zahlenformat von Luft Temperatur [°C]");

    type("air_temp", "20");
    type("total_mass", "x");
    type("fro_value", "y");
    dialogs_.expectError();
    EXPECT_THROW(call_get_par(table_), rt::Error);
    EXPECT_EQ(dialogs_.shown().back().text, "Fehlerhaftes Zahlenformat von Gesamt Gewicht [kg]:x");

    type("total_mass", "200");
    type("fro_value", "0.015");
    type("max_rpm", "viel");
    dialogs_.expectError();
    EXPECT_THROW(call_get_par(table_), rt::Error);
    EXPECT_EQ(dialogs_.shown().back().text,
              "Fehlerhaftes Zahlenformat von Maximale Drehzahl [RPM]:viel");

    // The sensor field keeps its own label even while the drum label is shown.
    type("max_rpm", "16000");
    choose("popup_sig_ch1", 3);
    EXPECT_EQ(text("wheel_sens_txt"), "Rollen Sensoren:");
    type("wheel_sens", "?");
    dialogs_.expectError();
    EXPECT_THROW(call_get_par(table_), rt::Error);
    EXPECT_EQ(dialogs_.shown().back().text, "Fehlerhaftes Zahlenformat von Rad Sensoren:?");
}

TEST_F(ShellTest, ChannelTwoKeepsItsEntryAcrossListsAndTheDrumFieldsFollow) {
    auto drum_visible = [&] { return prop("total_tork", "Visible").text() == "on"; };
    for (const auto* table : {&shell::german_table(), &shell::english_table()}) {
        start(*table);
        const shell::Strings& st = *table;
        choose("popup_sig_ch2", 2);  // wheel sensors
        choose("popup_sig_ch1", 4);  // ignition clamp
        EXPECT_EQ(value("popup_sig_ch2"), 1);
        EXPECT_EQ(item("popup_sig_ch2", 1), st.popup_sig4.rows[0]);
        EXPECT_FALSE(drum_visible());

        choose("popup_sig_ch1", 1);
        choose("popup_sig_ch2", 3);  // the drum
        EXPECT_TRUE(drum_visible());
        choose("popup_sig_ch1", 4);
        EXPECT_EQ(value("popup_sig_ch2"), 2);
        EXPECT_TRUE(drum_visible());

        choose("popup_sig_ch1", 2);  // wheel sensors on channel 1: never a drum
        EXPECT_FALSE(drum_visible());
        choose("popup_sig_ch1", 3);  // drum on channel 1: always
        EXPECT_TRUE(drum_visible());
        EXPECT_EQ(shell::string_of("wheel_sens_txt"), st.roll_sens);
    }

    // French: "Rouleau" and "rouleau" differ, so the drum is not kept between {1, 5} and {3, 4}.
    start(shell::french_table());
    choose("popup_sig_ch2", 3);
    EXPECT_TRUE(drum_visible());
    choose("popup_sig_ch1", 4);
    EXPECT_EQ(value("popup_sig_ch2"), 3);  // the default row of type 4
    EXPECT_EQ(item("popup_sig_ch2", 3), u"Ignition");
    EXPECT_FALSE(drum_visible());
}

// Every channel-1 choice from every channel-2 entry of every list, in each language. Entries are
// signal types (1 alternator, 2 wheel sensors, 3 drum, 4 ignition, 5 off); the French lists of
// channel-1 types 3 and 4 spell the drum differently, which makes it another entry (6).
TEST_F(ShellTest, ChannelTwoFollowsItsEntryOrFallsBackToTheDefaultRow) {
    const std::vector<int> list_types[5] = {
        {1, 2, 3, 5}, {1, 2, 4, 5}, {1, 3, 4, 5}, {2, 3, 4, 5}, {1, 2, 3, 4, 5}};
    const double default_row[5] = {1, 2, 2, 3, 1};
    const struct {
        const char* name;
        const shell::Strings* table;
        bool drum_spelled_twice;
    } languages[] = {{"de", &shell::german_table(), false},
                     {"en", &shell::english_table(), false},
                     {"fr", &shell::french_table(), true}};
    for (const auto& lang : languages) {
        start(*lang.table);
        const shell::Strings& st = *lang.table;
        const shell::TextList* lists[5] = {&st.popup_sig1, &st.popup_sig2, &st.popup_sig3,
                                           &st.popup_sig4, &st.popup_sig};
        auto entry = [&](int ch1, std::size_t row) {
            const int type = list_types[ch1 - 1][row - 1];
            return type == 3 && lang.drum_spelled_twice && (ch1 == 3 || ch1 == 4) ? 6 : type;
        };
        auto shows_list = [&](int ch1) {
            const shell::TextList& list = *lists[ch1 - 1];
            if (prop("popup_sig_ch2", "String").rows() != list.rows.size()) return false;
            for (std::size_t i = 0; i < list.rows.size(); ++i)
                if (item("popup_sig_ch2", static_cast<double>(i + 1)) != list.rows[i]) return false;
            return true;
        };
        for (int from = 1; from <= 5; ++from) {
            for (std::size_t w = 1; w <= list_types[from - 1].size(); ++w) {
                for (int to = 1; to <= 5; ++to) {
                    choose("popup_sig_ch1", from);
                    choose("popup_sig_ch2", static_cast<double>(w));
                    SCOPED_TRACE(std::string(lang.name) + ": channel 1 from " +
                                 std::to_string(from) + " to " + std::to_string(to) +
                                 ", channel-2 row " + std::to_string(w));
                    ASSERT_EQ(value("popup_sig_ch2"), static_cast<double>(w));
                    choose("popup_sig_ch1", to);

                    double want = default_row[to - 1];
                    const std::vector<int>& types = list_types[to - 1];
                    for (std::size_t i = 1; i <= types.size(); ++i)
                        if (entry(to, i) == entry(from, w)) want = static_cast<double>(i);
                    EXPECT_EQ(value("popup_sig_ch2"), want);
                    EXPECT_TRUE(shows_list(to));
                    const bool drum = to == 3 || types[static_cast<std::size_t>(want) - 1] == 3;
                    EXPECT_EQ(prop("total_tork", "Visible").text(), drum ? "on" : "off");
                    EXPECT_EQ(prop("cylin_perim_txt", "Visible").text(), drum ? "on" : "off");
                    EXPECT_EQ(shell::string_of("wheel_sens_txt"),
                              drum ? st.roll_sens : st.wheel_sens);
                }
            }
        }
    }
}

TEST_F(ShellTest, SaveAndLoadReproduceEveryField) {
    start();
    const shell::Strings& st = shell::german_table();
    const std::pair<const char*, const char*> typed[] = {
        {"total_mass", "180"},  {"cw_value", "0,45"},  {"frontal_area", "0.6"},
        {"fro_value", "0.02"},  {"gear_ratio", "7.1"}, {"wheel_perim", "1.9"},
        {"filt_length", "0.5"}, {"lima", "6"},         {"wheel_sens", "2"},
        {"air_temp", "-3.5"},   {"air_pres", "980"},   {"total_tork", "2.5"},
        {"cylin_perim", "1.1"}, {"min_rpm", "1500"},   {"max_rpm", "12000"}};
    for (const auto& [tag, s] : typed) type(tag, s);
    type("title_txt", "Prüfstand – Lauf 1");
    type("wav_file", "/tmp/läufe/run 1.wav");
    shell::set_tagged("add_par_to_comment", "Value", rt::Value(1.0));
    shell::set_tagged("cut_File", "Value", rt::Value(0.0));
    shell::set_tagged("popup_xaxis", "Value", rt::Value(3.0));
    shell::set_tagged("popup_yaxis", "Value", rt::Value(11.0));
    choose("popup_sig_ch2", 3);  // alternator and drum

    dialogs_.answerPutFile(rt::FileChoice{"run1", dir_.string() + "/"});
    click_label(st.save);
    ASSERT_TRUE(std::filesystem::exists(dir_ / "run1.cfg"));
    dialogs_.answerPutFile(rt::FileChoice{"my.run", dir_.string() + "/"});
    click_label(st.save);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "my.run"));

    start();  // a fresh panel with the defaults
    dialogs_.answerGetFile(rt::FileChoice{"run1.cfg", dir_.string() + "/"});
    click_label(st.load);
    for (const auto& [tag, s] : typed) {
        std::string want = s;
        std::replace(want.begin(), want.end(), ',', '.');
        EXPECT_EQ(text(tag), want) << tag;
    }
    EXPECT_EQ(text("title_txt"), "Prüfstand – Lauf 1");
    EXPECT_EQ(text("wav_file"), "/tmp/läufe/run 1.wav");
    EXPECT_EQ(value("add_par_to_comment"), 1);
    EXPECT_EQ(value("cut_File"), 0);
    EXPECT_EQ(value("popup_xaxis"), 3);
    EXPECT_EQ(value("popup_yaxis"), 11);
    EXPECT_EQ(value("popup_sig_ch1"), 1);
    EXPECT_EQ(value("popup_sig_ch2"), 3);
    EXPECT_EQ(item("popup_sig_ch2", 3), u"Trägheitsrolle");
}

TEST_F(ShellTest, CancelledOrFailedParameterFilesChangeNothing) {
    start();
    const shell::Strings& st = shell::german_table();
    dialogs_.answerPutFile(std::nullopt);
    click_label(st.save);
    dialogs_.answerGetFile(std::nullopt);
    click_label(st.load);
    EXPECT_TRUE(std::filesystem::is_empty(dir_));

    // A file that is no variable file is named in the build's language, with the reason.
    std::ofstream(dir_ / "foreign.cfg") << "m = 200\n";
    type("total_mass", "123");
    const std::string foreign = (dir_ / "foreign.cfg").string();
    for (const shell::Strings* table : {&st, &shell::french_table()}) {
        shell_test::use_table(*table);
        dialogs_.answerGetFile(rt::FileChoice{"foreign.cfg", dir_.string() + "/"});
        const std::string said = testsupport::errorOf([&] { click_label(st.load); });
        EXPECT_EQ(said.substr(0, said.find('\n')),
                  "\"" + foreign + "\" " + rt::utf8(table->par_unreadable));
        EXPECT_NE(said.find("is not a variable file"), std::string::npos) << said;
        EXPECT_EQ(text("total_mass"), "123");
    }
    shell_test::use_table(st);
    EXPECT_EQ(rt::utf8(shell::french_table().par_unreadable),
              "ne peut pas être lu comme fichier de paramètres :");

    // A field that is no number ends the save before the file is touched.
    type("lima", "drei");
    dialogs_.answerPutFile(rt::FileChoice{"bad.cfg", dir_.string() + "/"});
    dialogs_.expectError();
    EXPECT_THROW(click_label(st.save), rt::Error);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "bad.cfg"));
}

TEST_F(ShellTest, AParameterFileLackingAVariableLeavesThePanelAsItWas) {
    start();
    const shell::Strings& st = shell::german_table();
    dialogs_.answerPutFile(rt::FileChoice{"full.cfg", dir_.string() + "/"});
    click_label(st.save);
    const std::vector<rt::NamedValue> full = rt::load((dir_ / "full.cfg").string());
    ASSERT_EQ(full.size(), 25u);

    // Everything a load could touch: each control's String, Value and Visible.
    auto panel = [] {
        std::vector<rt::Value> out;
        const rt::Value h = rt::findobj({rt::Value("Type"), rt::Value("uicontrol")});
        for (std::size_t i = 0; i < h.numel(); ++i)
            for (const char* name : {"String", "Value", "Visible"})
                out.push_back(rt::get(rt::Value(h.at(i)), name));
        return out;
    };
    type("total_mass", "123");
    type("wav_file", "before.wav");
    choose("popup_sig_ch1", 4);
    const std::vector<rt::Value> before = panel();

    for (const char* missing : {"m", "sig2", "P", "wavfile"}) {
        std::vector<rt::NamedValue> vars;
        for (const auto& nv : full)
            if (nv.name != missing) vars.push_back(nv);
        const std::string file = std::string("no_") + missing + ".cfg";
        rt::save((dir_ / file).string(), vars);
        dialogs_.answerGetFile(rt::FileChoice{file, dir_.string() + "/"});
        try {
            click_label(st.load);
            ADD_FAILURE() << "a file without " << missing << " loaded";
        } catch (const rt::Error& e) {
            EXPECT_EQ(std::string(e.what()), "\"" + dir_.string() + "/" + file +
                                                 "\" ist keine Parameterdatei: Es fehlt die "
                                                 "Variable " +
                                                 missing + ".");
        }
        const std::vector<rt::Value> after = panel();
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_TRUE(after[i].equals(before[i])) << missing << ", property " << i;
    }
}

TEST_F(ShellTest, AForgedShapeIsRefusedAndThePanelKeptAtStartAndOnLoad) {
    start();
    const shell::Strings& st = shell::german_table();
    dialogs_.answerPutFile(rt::FileChoice{"rovantel_start.cfg", dir_.string() + "/"});
    click_label(st.save);
    forge_empty_title(dir_ / "rovantel_start.cfg");

    type("total_mass", "123");
    type("title_txt", "kept");
    dialogs_.answerGetFile(rt::FileChoice{"rovantel_start.cfg", dir_.string() + "/"});
    try {
        click_label(st.load);
        ADD_FAILURE() << "the forged file was loaded";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("4294967295 x 0"), std::string::npos) << e.what();
    }
    EXPECT_EQ(text("total_mass"), "123");
    EXPECT_EQ(text("title_txt"), "kept");

    // At start-up the program stops with the message and the panel keeps its defaults.
    testing::internal::CaptureStdout();
    EXPECT_THROW(interp_->eval("rovantel"), rt::Error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(text("total_mass"), "200.0");
}

TEST_F(ShellTest, ClearCacheCountsGenerationsAndEmptiesTheCache) {
    start();
    rt::Value cache = shell::tagged("Saved Data");
    rt::line({rt::Value("Parent"), cache, rt::Value("XData"), rt::Value::row({0, 1}),
              rt::Value("YData"), rt::Value::row({2, 3}), rt::Value("Tag"),
              rt::Value("Saved Data/x.wav6.321.325V")});
    EXPECT_EQ(rt::get(cache, "Children").numel(), 1u);
    click("clear_cach");
    EXPECT_EQ(rt::get(cache, "Children").numel(), 0u);
    EXPECT_EQ(rt::get(shell::tagged("Main Figure"), "UserData").scalar(), 2);
    click("clear_cach");
    EXPECT_EQ(rt::get(shell::tagged("Main Figure"), "UserData").scalar(), 3);
}

TEST_F(ShellTest, TheRecordingChooserOpensInTheRecordingsFolderAndRestoresTheWorkingFolder) {
    start();
    const shell::Strings& st = shell::german_table();
    std::filesystem::create_directories(dir_ / "runs");
    const std::string before = rt::pwd();

    dialogs_.answerGetFile(rt::FileChoice{"a.wav", dir_.string() + "/runs/"});
    click_label(st.get_file);
    EXPECT_EQ(text("wav_file"), dir_.string() + "/runs/a.wav");
    EXPECT_EQ(rt::pwd(), before);
    EXPECT_EQ(dialogs_.shown().back().folder, dir_);
    EXPECT_EQ(dialogs_.shown().back().title, "WAV Datei:");
    ASSERT_EQ(dialogs_.shown().back().filters.size(), 2u);
    EXPECT_EQ(dialogs_.shown().back().filters[0].pattern, "*.wav");
    EXPECT_EQ(dialogs_.shown().back().filters[1].description, "Alle Dateien (*.*)");

    dialogs_.answerGetFile(std::nullopt);
    click_label(st.get_file);
    EXPECT_EQ(dialogs_.shown().back().folder, dir_ / "runs");
    EXPECT_EQ(text("wav_file"), dir_.string() + "/runs/a.wav");
    EXPECT_EQ(rt::pwd(), before);

    type("wav_file", "/no/such/folder/b.wav");
    dialogs_.answerGetFile(std::nullopt);
    click_label(st.get_file);
    EXPECT_EQ(dialogs_.shown().back().folder, dir_);
}

TEST_F(ShellTest, TheColourChooserSetsTheNextRunsColour) {
    start();
    dialogs_.answerColor(rt::Rgb{1, 0.5, 0});
    click("set_sdiag_color");
    EXPECT_EQ(dialogs_.shown().back().initial, (rt::Rgb{0, 0, 1}));
    EXPECT_EQ(rt::toVector(prop("set_sdiag_color", "BackgroundColor")),
              (std::vector<double>{1, 0.5, 0}));
    EXPECT_EQ(rt::toVector(prop("set_sdiag_color", "ForegroundColor")),
              (std::vector<double>{1, 1, 1}));
    dialogs_.answerColor(std::nullopt);
    click("set_sdiag_color");
    EXPECT_EQ(rt::toVector(prop("set_sdiag_color", "BackgroundColor")),
              (std::vector<double>{1, 0.5, 0}));
}

TEST_F(ShellTest, AValueItsFieldCannotTakeIsRefusedInTheBuildsLanguageAndLaterLoadsStillWork) {
    start();
    const shell::Strings& st = shell::german_table();
    dialogs_.answerPutFile(rt::FileChoice{"full.cfg", dir_.string() + "/"});
    click_label(st.save);
    const std::vector<rt::NamedValue> full = rt::load((dir_ / "full.cfg").string());
    type("total_mass", "123");
    const std::string bad = (dir_ / "bad.cfg").string();
    auto load_bad = [&] { table_.call("load_par", {rt::Value(bad)}, 0); };

    const struct {
        const char* name;
        rt::Value value;
        const char* rows;
    } cases[] = {{"sig1", rt::Value(std::nan("")), " (1-5)"},
                 {"sig1", rt::Value(), " (1-5)"},
                 {"sig1", rt::Value(6.0), " (1-5)"},
                 {"sig2", rt::Value(std::nan("")), " (1-4)"},
                 {"sig2", rt::Value(5.0), " (1-4)"},
                 {"sig2", rt::Value(2.5), " (1-4)"},
                 {"xaxis", rt::Value(0.0), " (1-4)"},
                 {"yaxis", rt::Value(12.0), " (1-11)"},
                 {"cbh", rt::Value("ja"), " (0-1)"},
                 {"komment", rt::Value::row({0, 1}), " (0-1)"},
                 {"wav_kom", rt::Value(2.0), " (0-1)"},
                 {"cutvmax", rt::Value(), " (0-1)"},
                 {"m", rt::Value("200"), ""},
                 {"tit", rt::Value(3.0), ""},
                 {"wavfile", rt::Value::charMatrix(std::vector<std::string>{"a", "b"}), ""}};
    for (const auto& [name, value, rows] : cases) {
        std::vector<rt::NamedValue> vars = full;
        for (auto& nv : vars)
            if (nv.name == name) nv.value = value;
        rt::save(bad, vars);
        for (const shell::Strings* table : {&shell::german_table(), &shell::french_table()}) {
            shell_test::use_table(*table);
            EXPECT_EQ(
                testsupport::errorOf(load_bad),
                "\"" + bad + "\" " + rt::utf8(table->par_bad_value) + " " + name + rows + ".");
        }
        EXPECT_EQ(text("total_mass"), "123") << name;
    }
    EXPECT_EQ(rt::utf8(st.par_bad_value),
              "enthält einen Wert, den sein Feld nicht annehmen kann: Variable");
    std::vector<rt::NamedValue> no_m = full;
    std::erase_if(no_m, [](const rt::NamedValue& nv) { return nv.name == "m"; });
    rt::save((dir_ / "no_m.cfg").string(), no_m);
    shell_test::use_table(shell::french_table());
    EXPECT_EQ(testsupport::errorOf(
                  [&] { table_.call("load_par", {rt::Value((dir_ / "no_m.cfg").string())}, 0); }),
              "\"" + (dir_ / "no_m.cfg").string() +
                  "\" n'est pas un fichier de paramètres : il y manque la variable m.");
    shell_test::use_table(st);
    // Channel 1 off offers the whole list of five on channel 2.
    std::vector<rt::NamedValue> off = full;
    for (auto& nv : off) {
        if (nv.name == "sig1") nv.value = rt::Value(5.0);
        if (nv.name == "sig2") nv.value = rt::Value(5.0);
    }
    rt::save((dir_ / "off.cfg").string(), off);
    dialogs_.answerGetFile(rt::FileChoice{"off.cfg", dir_.string() + "/"});
    click_label(st.load);
    EXPECT_EQ(rt::get(shell::tagged("popup_sig_ch2"), "Value").scalar(), 5);

    dialogs_.answerGetFile(rt::FileChoice{"full.cfg", dir_.string() + "/"});
    click_label(st.load);
    EXPECT_EQ(text("total_mass"), "200");
}
