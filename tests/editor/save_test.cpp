// Saving from the editor windows: the name, the overwrite question, the samples written
// and what the main window names afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor_fixture.h"
#include "runtime/dispatch/error.h"
#include "signal/wavread.h"
#include "signal/wavwrite.h"

namespace {

using editor_test::EditorTest;
using editor_test::recording;
using rt::Value;

constexpr double kFS = 8820;

std::string bytes_of(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class Save : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        source_ = recording(3, kFS);
        sig::wavwrite(source_, kFS, 32, "run.wav");
        shell::set_tagged("wav_file", "String", Value("run.wav"));
    }
    // The evaluation opens the window on `Y` (by default the recording in run.wav).
    rt::Values cut(std::function<void()> user) {
        on_wait(std::move(user));
        return call("cut_file_spect",
                    {rt::fromMatrix(source_), Value(kFS), Value::row({1, 2}), Value(3.0),
                     st_value(), Value(2000.0), Value(10000.0)},
                    2);
    }
    rt::Values erase(const Eigen::MatrixXd& Y, const Value& ch, std::function<void()> user) {
        on_wait(std::move(user));
        return call("era_file_spect",
                    {rt::fromMatrix(Y), Value(kFS), ch, Value(3.0), st_value(), Value(2000.0),
                     Value(10000.0)},
                    4);
    }
    void name_output(const std::string& name) {
        shell::set_tagged("wav_cut_file", "String", Value(name));
    }
    // The rows of Y strictly inside (a, b) at kFS, as written with 32-bit float samples.
    static Eigen::MatrixXd float_rows(const Eigen::MatrixXd& Y, double a, double b) {
        std::vector<Eigen::Index> keep;
        for (Eigen::Index i = 0; i < Y.rows(); ++i)
            if (a < i / kFS && i / kFS < b) keep.push_back(i);
        Eigen::MatrixXd out(Eigen::Index(keep.size()), Y.cols());
        for (std::size_t k = 0; k < keep.size(); ++k)
            out.row(Eigen::Index(k)) = Y.row(keep[k]).cast<float>().cast<double>();
        return out;
    }

    Eigen::MatrixXd source_;
};

TEST_F(Save, WritesTheShownIntervalAsFloatAndNamesItInTheMainWindow) {
    cut([&] {
        zoom_to(1, 2);  // samples 8820 and 17640 lie on the bounds: not written
        name_output("part");
        press(st().save);
        EXPECT_NE(window(), 0) << "saving leaves the window open";
        EXPECT_EQ(text("wav_cut_file"), "part");
        EXPECT_EQ(text("wav_file"), "part.wav");
        // Zoom further and save again under another name: another file.
        zoom_to(1.5, 2);
        name_output("half.wav");
        press(st().save);
        cancel();
    });
    const sig::WavReadResult part = sig::wavread("part.wav");
    EXPECT_EQ(part.Fs, kFS);
    EXPECT_EQ(*part.bits, 32);
    EXPECT_EQ(part.opt_ck.fmt->wFormatTag, 3);
    EXPECT_EQ(*part.y, float_rows(source_, 1, 2));
    EXPECT_EQ(*sig::wavread("half.wav").y, float_rows(source_, 1.5, 2));
}

TEST_F(Save, ANameWithADotAnywhereIsUsedAsTyped) {
    std::filesystem::create_directory("my.runs");
    cut([&] {
        name_output("my.runs/out");
        press(st().save);
        cancel();
    });
    EXPECT_TRUE(std::filesystem::exists("my.runs/out"));
    EXPECT_EQ(text("wav_file"), "my.runs/out");
}

TEST_F(Save, AnExistingFileIsReplacedOnlyOnYes) {
    const std::string old = bytes_of("run.wav");
    cut([&] {
        zoom_to(1, 2);
        // The field starts with the source's name: the question is about the recording itself.
        dialogs_.answerQuestion(rt::utf8(st().no));
        press(st().save);
        dialogs_.answerQuestion("");  // closed without an answer
        press(st().save);
        EXPECT_EQ(bytes_of("run.wav"), old);
        EXPECT_EQ(text("wav_file"), "run.wav");
        dialogs_.answerQuestion(rt::utf8(st().yes));
        press(st().save);
        cancel();
    });
    const auto& shown = dialogs_.shown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "run.wav\n" + rt::utf8(st().file_overw));
    EXPECT_EQ(shown[0].title, "run.wav");
    EXPECT_EQ(shown[0].buttons, (std::vector<std::string>{rt::utf8(st().yes), rt::utf8(st().no)}));
    EXPECT_EQ(shown[0].defaultButton, rt::utf8(st().no));
    EXPECT_EQ(*sig::wavread("run.wav").y, float_rows(source_, 1, 2));
}

TEST_F(Save, TheEraseWindowSavesTheRecordingItShowsWithTheToneNotTheFileOnDisk) {
    // As after the cut window: the erase window holds the recording from 1 s on, while
    // run.wav (the wav_file text) still holds the whole run.
    const Eigen::MatrixXd cut_part = source_.bottomRows(source_.rows() - 8820);
    std::vector<double> trace, xlim;
    Eigen::MatrixXd handed;
    const rt::Values out = erase(cut_part, Value(2.0), [&] {
        name_output("clean.wav");
        press(st().save);
        trace = rt::get(Value(tagged1("SpectrumP")), "YData").real();
        xlim = rt::get(Value(axes()), "XLim").real();
        done();
    });
    ASSERT_EQ(out[1].scalar(), 1);
    handed = rt::toMatrix(out[0]);
    const Eigen::MatrixXd written = *sig::wavread("clean.wav").y;
    // The same samples as done hands back: channel 1 the cut recording, channel 2 the tone.
    ASSERT_EQ(written.rows(), handed.rows());
    EXPECT_EQ(written.col(0), float_rows(cut_part, xlim[0], xlim[1]).col(0));
    EXPECT_TRUE(written.col(1).isApprox(handed.col(1).cast<float>().cast<double>(), 1e-6));
    EXPECT_EQ(text("wav_file"), "clean.wav");
}

TEST_F(Save, SoxReadsTheWrittenFile) {
    if (std::system("sox --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
    cut([&] {
        name_output("sox.wav");
        press(st().save);
        cancel();
    });
    // sox works on 32-bit integers inside: equal to a few units of the last float bit.
    ASSERT_EQ(std::system("sox sox.wav -t raw -e floating-point -b 32 --endian little sox.f32 "
                          "2>/dev/null"),
              0);
    const std::string raw = bytes_of("sox.f32");
    const Eigen::MatrixXd expected = *sig::wavread("sox.wav").y;
    ASSERT_EQ(raw.size(), std::size_t(expected.size()) * 4);
    const auto* f = reinterpret_cast<const float*>(raw.data());
    for (Eigen::Index i = 0; i < expected.rows(); ++i)
        for (Eigen::Index c = 0; c < 2; ++c) ASSERT_NEAR(f[i * 2 + c], expected(i, c), 1e-7);
}

TEST_F(Save, AFailedWriteIsShownAndChangesNothing) {
    const std::string old = bytes_of("run.wav");
    cut([&] {
        name_output("no such folder/out.wav");
        dialogs_.expectError();
        press(st().save);
        EXPECT_EQ(text("wav_file"), "run.wav");
        cancel();
    });
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_NE(dialogs_.shown()[0].text.find("no such folder/out.wav"), std::string::npos);
    EXPECT_EQ(bytes_of("run.wav"), old);
}

TEST_F(Save, TheFileChooserNamesTheOutputThenSavesAndRestoresTheFolder) {
    std::filesystem::create_directory("runs");
    std::filesystem::rename("run.wav", "runs/run.wav");
    const std::string abs = (std::filesystem::current_path() / "runs/").string();
    shell::set_tagged("wav_file", "String", Value(abs + "run.wav"));
    const auto here = std::filesystem::current_path();
    cut([&] {
        dialogs_.answerPutFile(std::nullopt);
        press(st().get_file);
        EXPECT_EQ(text("wav_file"), abs + "run.wav");
        dialogs_.answerPutFile(rt::FileChoice{"chosen.wav", abs});
        press(st().get_file);
        EXPECT_EQ(text("wav_file"), abs + "chosen.wav");
        EXPECT_EQ(text("wav_cut_file"), abs + "chosen.wav");
        cancel();
    });
    EXPECT_EQ(dialogs_.shown()[0].folder, std::filesystem::path(abs).parent_path());
    EXPECT_EQ(std::filesystem::current_path(), here);
    EXPECT_TRUE(std::filesystem::exists("runs/chosen.wav"));
}

TEST_F(Save, APathWithAnApostropheSurvivesTheCallbackStrings) {
    std::filesystem::create_directory("Mike's runs");
    shell::set_tagged("wav_file", "String", Value("Mike's runs/run1.wav"));
    erase(source_, Value::row({1, 2}), [&] {
        name_output("Mike's runs/clean.wav");
        press(st().save);
        dialogs_.answerPutFile(rt::FileChoice{"chosen.wav", "Mike's runs/"});
        press(st().get_file);
        cancel();
    });
    EXPECT_TRUE(std::filesystem::exists("Mike's runs/clean.wav"));
    EXPECT_TRUE(std::filesystem::exists("Mike's runs/chosen.wav"));
}

}  // namespace
