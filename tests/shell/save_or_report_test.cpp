// Every save of rovantel refuses alike: a read-only file and a name that gives a folder are
// named in one error dialog in the build's language, and nothing on disk changes.
#include "shell/save_or_report.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "editor/editor_fixture.h"
#include "runtime/value/eigen.h"

namespace {

namespace fs = std::filesystem;
using rt::Value;

std::string contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class EverySave : public editor_test::EditorTest {
protected:
    const shell::Strings& de() const { return shell::german_table(); }

    void press_in(const char* figure_tag, const std::u16string& label) {
        const Value h = rt::findobj(
            {rt::findobj({Value("Tag"), Value(figure_tag)}), Value("String"), Value(label)});
        ASSERT_EQ(h.numel(), 1u) << figure_tag;
        interp_->eval(rt::get(h, "Callback").text16());
    }

public:
    // The saves, each naming `typed` where the user names the file.
    void parameter_file(const std::string& typed) {
        dialogs_.answerPutFile(rt::FileChoice{typed, dir_.string() + "/"});
        dialogs_.expectError();
        click_label(de().save);
    }
    void ascii_export(const std::string& typed) {
        const std::vector<double> x{1000, 2000, 3000};
        table_.call("plot_diag",
                    {rt::rowVector(x), Value::matrix(3, 1, {1, 2, 3}), Value::row({0, 0, 1}),
                     Value("run"), Value(1.0), Value(1.0), Value(1.0)},
                    0);
        dialogs_.answerPutFile(rt::FileChoice{typed, dir_.string() + "/"});
        dialogs_.expectError();
        const Value b = rt::findobj({Value("String"), Value(de().exportascii)});
        ASSERT_EQ(b.numel(), 1u);
        interp_->eval(rt::get(b, "Callback").text16());
    }
    void tire_table(const std::string&) {
        click_label(de().wheel_perim);
        press_in("Wheel Figure", de().Wwheellist);
        for (const char* tag : {"TireName", "TireSize", "WheelSize", "TireCircum"}) type(tag, "1");
        dialogs_.answerQuestion(rt::utf8(de().yes));
        dialogs_.expectError();
        press_in("WheelList Figure", de().Wtireadd);
        interp_->eval("close(findobj('Tag', 'WheelList Figure'))");
        interp_->eval("close(findobj('Tag', 'Wheel Figure'))");
    }
    void editor_wav(const std::string& typed) {
        const Eigen::MatrixXd Y = editor_test::recording(1, 8820);
        on_wait([&] {
            shell::set_tagged("wav_cut_file", "String", Value(typed));
            if (fs::is_regular_file(typed)) dialogs_.answerQuestion(rt::utf8(de().yes));
            dialogs_.expectError();
            press(de().save);
            cancel();
        });
        call("cut_file_spect",
             {rt::fromMatrix(Y), Value(8820.0), Value::row({1, 2}), Value(3.0), st_value(),
              Value(2000.0), Value(10000.0)},
             2);
    }
};

TEST_F(EverySave, AReadOnlyFileOrAFolderNameIsRefusedNamingItAndNothingChanges) {
    using Save = void (EverySave::*)(const std::string&);
    const struct {
        const char* what;
        Save save;
        std::string typed;  // what the user names
        std::string named;  // the file the dialog names
        std::u16string shell::Strings::*failed;
        std::u16string shell::Strings::*reason;
    } cases[] = {
        {"parameter file", &EverySave::parameter_file, "ro.cfg", (dir_ / "ro.cfg").string(),
         &shell::Strings::write_failed, &shell::Strings::save_read_only},
        {"parameter file", &EverySave::parameter_file, "sub/", (dir_ / "sub/").string(),
         &shell::Strings::write_failed, &shell::Strings::save_no_file},
        {"export", &EverySave::ascii_export, "ro.txt", (dir_ / "ro.txt").string(),
         &shell::Strings::write_failed, &shell::Strings::save_read_only},
        {"export", &EverySave::ascii_export, "sub/", (dir_ / "sub/").string(),
         &shell::Strings::write_failed, &shell::Strings::save_no_file},
        {"tire table", &EverySave::tire_table, "tire_tab.txt", "tire_tab.txt",
         &shell::Strings::tab_write_failed, &shell::Strings::save_read_only},
        {"editor", &EverySave::editor_wav, "ro.wav", "ro.wav", &shell::Strings::write_failed,
         &shell::Strings::save_read_only},
        {"editor", &EverySave::editor_wav, "sub/", "sub/", &shell::Strings::write_failed,
         &shell::Strings::save_no_file},
    };
    const std::string kOld = "a;s;1;1.000;\n";  // the tire table reads it
    fs::create_directory("sub");
    for (const char* name : {"ro.cfg", "ro.txt", "tire_tab.txt", "ro.wav"}) {
        std::ofstream(name) << kOld;
        ::chmod(name, 0444);
    }
    std::vector<fs::path> before{fs::directory_iterator("."), {}};
    std::sort(before.begin(), before.end());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + c.typed);
        const std::size_t shown = dialogs_.shown().size();
        (this->*c.save)(c.typed);
        ASSERT_GT(dialogs_.shown().size(), shown);
        const auto& dialog = dialogs_.shown().back();
        EXPECT_EQ(dialog.kind, rt::ScriptedDialogs::Kind::Error);
        EXPECT_EQ(dialog.text, "\"" + c.named + "\" " + rt::utf8(de().*c.failed) + "\n" +
                                   rt::utf8(de().*c.reason));
        EXPECT_EQ(dialog.title, rt::utf8(de().file_error));
    }
    std::vector<fs::path> after{fs::directory_iterator("."), {}};
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
    EXPECT_TRUE(fs::is_empty("sub"));
    for (const char* name : {"ro.cfg", "ro.txt", "tire_tab.txt", "ro.wav"})
        EXPECT_EQ(contents(name), kOld) << name;
}

}  // namespace
