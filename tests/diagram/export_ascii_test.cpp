#include "diagram/export_ascii.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagram_fixture.h"
#include "support/file_size_limit.h"

using namespace diagram_test;

namespace {

std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

class ExportTest : public DiagramTest {
protected:
    // Presses the window's export button; the dialog answers `name` in `folder`.
    // `fails`: the write is expected to fail, with an error dialog.
    void export_as(const std::string& name, std::filesystem::path folder = {}, bool fails = false) {
        if (folder.empty()) folder = dir_;
        dialogs_.answerPutFile(rt::FileChoice{name, folder.string() + "/"});
        if (fails) dialogs_.expectError();
        const auto b =
            rt::findobj({Value(window()), Value("String"), Value(shell::text_table().exportascii)});
        ASSERT_EQ(b.numel(), 1u);
        click(b.scalar());
    }
};

TEST_F(ExportTest, OneCurveGivesAZeroLineAndItsPointsWithCrLf) {
    EXPECT_EQ(diagram::ascii_export_text({}), "0.000000 0.000000\r\n");
    plot({1, 2.5, 3}, columns({10, 20.125, -0.5}), {0, 0, 1}, "a", 1, 3);
    export_as("run");
    EXPECT_EQ(read_file(dir_ / "run.txt"),
              "0.000000 0.000000\r\n1.000000 10.000000\r\n2.500000 20.125000\r\n"
              "3.000000 -0.500000\r\n");
    EXPECT_EQ(dialogs_.shown().back().title, rt::utf8(shell::text_table().out_files));
    EXPECT_EQ(dialogs_.shown().back().filters.front().pattern, "*.txt");
}

TEST_F(ExportTest, PowerWithTorqueWritesTheHalfScaleCurveFirstAndNoDots) {
    const auto x = ramp(1000, 5000, 40);
    const auto power = hump(x, 40), torque = hump(x, 60);
    type("wav_file", "/hidden.wav");
    plot(x, columns(power, power));
    const auto box = rt::findobj({Value(window()), Value("Style"), Value("checkbox")});
    click(box.scalar());  // hidden runs are not written
    type("wav_file", "/shown.wav");
    plot(x, columns(power, torque));
    export_as("pt.dat");

    std::istringstream in(read_file(dir_ / "pt.dat"));
    std::vector<std::pair<double, double>> rows;
    for (std::string line; std::getline(in, line);) {
        ASSERT_EQ(line.back(), '\r');
        double a, b;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf %lf", &a, &b), 2) << line;
        rows.emplace_back(a, b);
    }
    ASSERT_EQ(rows.size(), 2 * (x.size() + 1));
    EXPECT_EQ(rows[0], std::make_pair(0.0, 0.0));
    EXPECT_NEAR(rows[6].second, torque[5] / 2, 1e-6);
    EXPECT_EQ(rows[x.size() + 1], std::make_pair(0.0, 0.0));
    EXPECT_NEAR(rows[x.size() + 7].second, power[5], 1e-6);
}

TEST_F(ExportTest, NamesGetTxtOnlyWithoutAPointAndTheDialogOpensInTheRecordingsFolder) {
    std::filesystem::create_directories(dir_ / "rec.d");
    type("wav_file", (dir_ / "rec.d" / "a.wav").string());
    plot({1, 2}, columns({1, 2}), {0, 0, 1}, "a", 1, 3);
    const auto home = std::filesystem::current_path();
    export_as("plain", dir_ / "rec.d");  // the folder's point counts
    EXPECT_TRUE(std::filesystem::exists(dir_ / "rec.d" / "plain"));
    EXPECT_EQ(dialogs_.shown().back().folder, dir_ / "rec.d");
    EXPECT_EQ(std::filesystem::current_path(), home);

    type("wav_file", "/gone/a.wav");  // a folder that does not exist: the working folder
    export_as("plain");
    EXPECT_TRUE(std::filesystem::exists(dir_ / "plain.txt"));
    EXPECT_EQ(dialogs_.shown().back().folder, home);

    dialogs_.answerPutFile(std::nullopt);  // cancelled: nothing written
    click(rt::findobj({Value(window()), Value("String"), Value(shell::text_table().exportascii)})
              .scalar());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator{}),
              2);
}

TEST_F(ExportTest, AFailedWriteSaysSoAndLeavesTheOldFileWhole) {
    plot(ramp(1000, 5000, 400), columns(ramp(1, 2, 400)), {0, 0, 1}, "a", 1, 3);
    {
        std::ofstream old(dir_ / "old.txt", std::ios::binary);
        old << "old contents\n";
    }
    {
        testsupport::FileSizeLimit full(64);  // a disk that fills up after 64 bytes
        export_as("old.txt", {}, true);
    }
    EXPECT_EQ(read_file(dir_ / "old.txt"), "old contents\n");
    EXPECT_NE(dialogs_.shown().back().text.find("old.txt"), std::string::npos);
    EXPECT_EQ(dialogs_.shown().back().title, rt::utf8(shell::text_table().file_error));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_),
                            std::filesystem::directory_iterator{}),
              1);  // no temporary left behind

    // A read-only folder stops everyone, root included.
    std::filesystem::create_directories(dir_ / "ro");
    std::ofstream(dir_ / "ro" / "x.txt") << "kept";
    std::filesystem::permissions(
        dir_ / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    export_as("x.txt", dir_ / "ro", true);
    std::filesystem::permissions(dir_ / "ro", std::filesystem::perms::owner_all);
    EXPECT_EQ(read_file(dir_ / "ro" / "x.txt"), "kept");
    EXPECT_EQ(dialogs_.shown().back().text, "\"" + (dir_ / "ro" / "x.txt").string() + "\" " +
                                                rt::utf8(shell::text_table().write_failed) + "\n" +
                                                rt::utf8(shell::text_table().save_dir_locked));
}
