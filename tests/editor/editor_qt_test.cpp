// The editor windows as Qt shows them (offscreen), driven by real mouse events. With
// ROVANTEL_GRAB_DIR set, grabs of the cut window and of the erase window after one stroke are
// saved there for a look.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <set>

#include "editor/editor_window.h"
#include "editor_fixture.h"
#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/zoom.h"
#include "shell/panel.h"
#include "shell/shell_qt_fixture.h"
#include "signal/wavread.h"

namespace {

using rt::Value;

// The demo recording of examples/ when it was built, else one like it.
Eigen::MatrixXd demo_channel(double& FS) {
    const std::string demo = std::string(ROVANTEL_TEST_DATA) + "/../../examples/demo.wav";
    if (std::filesystem::exists(demo)) {
        sig::Recording r = sig::wavread_recording(demo);
        FS = r.Fs;
        return r.y;
    }
    FS = 44100;
    return editor_test::recording(14, FS);
}

class EditorQt : public shell_test::ShellQtTest {
protected:
    void SetUp() override {
        ShellQtTest::SetUp();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        interp_.eval("rovantel");
        shell::set_tagged("wav_file", "String", Value("demo.wav"));
    }

    const shell::Strings& st() const { return shell::german_table(); }
    rt::Handle window() const { return editor::editor_window(st().cut_File); }
    rt::Handle axes() const { return editor::editor_axes(st().cut_File); }
    rt::FigureWindow* qt_window() const { return host_->window(window()); }

    // Widget coordinates of (time, rpm) in the editor axes.
    QPoint at(double time, double rpm) const {
        const rt::Rect r = rt::graphics().pixelPosition(axes());
        const auto xl = rt::get(Value(axes()), "XLim").real();
        const auto yl = rt::get(Value(axes()), "YLim").real();
        const double x = r[0] + (time - xl[0]) / (xl[1] - xl[0]) * r[2];
        const double y = r[1] + (rpm - yl[0]) / (yl[1] - yl[0]) * r[3];
        return QPoint(int(std::lround(x)), qt_window()->height() - int(std::lround(y)));
    }
    void click_button(const std::u16string& label) {
        const Value h = rt::findobj({Value(window()), Value("String"), Value(label)});
        ASSERT_EQ(h.numel(), 1u);
        QWidget* w = qt_window()->control(h.scalar())->widget();
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    // Once the editor waits (its window drawn, the mouse or zoom armed), runs `act` there.
    void when_waiting(std::function<void()> act, int tries = 200) {
        QTimer::singleShot(10, [this, act, tries] {
            const bool ready =
                window() != 0 && qt_window() && !rt::graphics().withTag(u"SpectrumI").empty() &&
                (rt::zoomIsOn(window()) || !rt::graphics().withTag(u"TempPlot").empty());
            if (ready)
                act();
            else if (tries > 0)
                when_waiting(act, tries - 1);
            else
                ADD_FAILURE() << "no editor window is waiting";
        });
    }
    QImage grab(const char* name) {
        rt::drawnow();
        QImage img = qt_window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        save_grab(img, name);
        return img;
    }
};

TEST_F(EditorQt, CutWindowShowsTheDemoSpectrogramWithEveryControlReadable) {
    double FS = 0;
    const Eigen::MatrixXd Y = demo_channel(FS);
    when_waiting([&] {
        const QImage img = grab("cut_window");
        EXPECT_GE(img.width(), 1000);
        // Every control lies wholly inside the window and shows its whole text.
        for (double h : rt::findobj({Value(window()), Value("Type"), Value("uicontrol")}).real())
            EXPECT_TRUE(qt_window()->rect().contains(widget(h)->geometry())) << h;
        expect_nothing_cut_off(window(), "cut window");
        // The image fills the axes with more than one colour.
        const rt::Rect r = rt::graphics().pixelPosition(axes());
        const QRect inside(int(r[0]) + 5, img.height() - int(r[1] + r[3]) + 5, int(r[2]) - 10,
                           int(r[3]) - 10);
        std::set<QRgb> colours;
        for (int y = inside.top(); y < inside.bottom(); y += 7)
            for (int x = inside.left(); x < inside.right(); x += 7) colours.insert(img.pixel(x, y));
        EXPECT_GT(colours.size(), 10u);
        click_button(st().cancel);
    });
    const rt::Values out = table_.call("cut_file_spect",
                                       {rt::fromMatrix(Y), Value(FS), Value(1.0), Value(3.0),
                                        shell::strings(), Value(2000.0), Value(10000.0)},
                                       2);
    EXPECT_EQ(out[1].scalar(), 0);
}

TEST_F(EditorQt, AStrokeWithTheMouseClearsCellsAndRedrawsTheTrace) {
    double FS = 0;
    const Eigen::MatrixXd Y = demo_channel(FS);
    Eigen::MatrixXd before;
    std::vector<double> trace_before, trace_after;
    Eigen::MatrixXd after;
    when_waiting([&] {
        const rt::Handle image = shell::tagged("SpectrumI").scalar();
        const rt::Handle trace = shell::tagged("SpectrumP").scalar();
        before = rt::toMatrix(rt::get(Value(image), "CData"));
        trace_before = rt::get(Value(trace), "YData").real();
        const auto x = rt::get(Value(image), "XData").real();
        // Along the peak trace from 3 to 5 s: press, move, release.
        QWidget* w = qt_window();
        auto on_trace = [&](double t) {
            std::size_t k = 0;
            while (k + 1 < x.size() && x[k + 1] <= t) ++k;
            return trace_before[k];
        };
        QTest::mousePress(w, Qt::LeftButton, {}, at(3, on_trace(3)));
        for (int k = 1; k <= 50; ++k) {
            const double t = 3 + 2.0 * k / 50;
            QTest::mouseMove(w, at(t, on_trace(t)));
        }
        const auto trail = [] {
            return rt::get(Value(shell::tagged("TempPlot").scalar()), "XData").real();
        };
        EXPECT_EQ(trail().size(), 52u) << "the seed, the press and 50 moves";
        grab("erase_window_during_stroke");
        QTest::mouseRelease(w, Qt::LeftButton, {}, at(5, on_trace(5)));
        after = rt::toMatrix(rt::get(Value(image), "CData"));
        trace_after = rt::get(Value(trace), "YData").real();
        EXPECT_EQ(trail().size(), 1u) << "the trail is back to its seed";
        EXPECT_EQ(rt::get(Value(window()), "Pointer").text(), "custom");
        grab("erase_window_after_stroke");
        click_button(st().cut_done);
    });
    const rt::Values out = table_.call("era_file_spect",
                                       {rt::fromMatrix(Y), Value(FS), Value(1.0), Value(3.0),
                                        shell::strings(), Value(2000.0), Value(10000.0)},
                                       4);
    ASSERT_EQ(out[1].scalar(), 1);
    ASSERT_EQ(after.cols(), before.cols());
    // Cells were cleared in the slices from 3 s to 5 s only, and the trace moved there.
    int cleared = 0, changed = 0;
    for (Eigen::Index c = 0; c < after.cols(); ++c) {
        const bool touched = (after.col(c).array() != before.col(c).array()).any();
        cleared += touched;
        changed += trace_after[std::size_t(c)] != trace_before[std::size_t(c)];
    }
    EXPECT_GE(cleared, 9);
    EXPECT_LE(cleared, 12);
    EXPECT_GE(changed, 9);
}

}  // namespace
