// The erase window: the eraser's strokes on the spectrogram, the re-trace, and the tone that
// done hands back.
#include <limits>

#include "editor/togeraser.h"
#include "editor_fixture.h"
#include "runtime/value/num2str.h"

namespace {

using editor_test::EditorTest;
using editor_test::recording;
using rt::Value;

constexpr double kFS = 8820;

class EraseWindow : public EditorTest {
protected:
    rt::Values erase_window(const Eigen::MatrixXd& Y, const Value& ch = Value::row({1, 2})) {
        return call("era_file_spect",
                    {rt::fromMatrix(Y), Value(kFS), ch, Value(3.0), st_value(), Value(2000.0),
                     Value(10000.0)},
                    4);
    }

    // The pointer over (time, rpm) of the editor axes, as the window reports it in pixels.
    void point_at(double time, double rpm) {
        rt::Graphics& g = rt::graphics();
        const rt::Rect r = g.pixelPosition(axes());
        const auto xl = rt::get(Value(axes()), "XLim").real();
        const auto yl = rt::get(Value(axes()), "YLim").real();
        g.setPointerPosition(window(), r[0] + (time - xl[0]) / (xl[1] - xl[0]) * r[2],
                             r[1] + (rpm - yl[0]) / (yl[1] - yl[0]) * r[3]);
    }
    void mouse(const char* property) { interp_->eval(rt::get(Value(window()), property).text16()); }
    // Press at the first point, move through the others, release at the last.
    void stroke(const std::vector<std::pair<double, double>>& points) {
        point_at(points.front().first, points.front().second);
        mouse("WindowButtonDownFcn");
        for (std::size_t i = 1; i < points.size(); ++i) {
            point_at(points[i].first, points[i].second);
            mouse("WindowButtonMotionFcn");
        }
        mouse("WindowButtonUpFcn");
    }
    Eigen::MatrixXd cdata() const {
        return rt::toMatrix(rt::get(Value(tagged1("SpectrumI")), "CData"));
    }
    std::vector<double> xdata() const {
        return rt::get(Value(tagged1("SpectrumI")), "XData").real();
    }
    std::vector<double> ydata() const {
        return rt::get(Value(tagged1("SpectrumI")), "YData").real();
    }
    std::vector<double> trace() const {
        return rt::get(Value(tagged1("SpectrumP")), "YData").real();
    }
    // One pixel step of the axes in time and rpm.
    std::pair<double, double> step() const {
        const rt::Rect r = rt::graphics().pixelPosition(axes());
        const auto xl = rt::get(Value(axes()), "XLim").real();
        const auto yl = rt::get(Value(axes()), "YLim").real();
        return {(xl[1] - xl[0]) / r[2], (yl[1] - yl[0]) / r[3]};
    }
};

TEST_F(EraseWindow, ShowsAFineSpectrogramWithItsPeakTraceAndTheEraser) {
    on_wait([&] {
        const Value fig(window());
        EXPECT_EQ(cdata().rows(), 1501u);
        // The default overlap of half a slice: slices 0.2 s apart.
        const auto x = xdata();
        EXPECT_NEAR(x[1] - x[0], 0.2, 1e-12);
        const auto peaks = trace();
        ASSERT_EQ(peaks.size(), x.size());
        EXPECT_NEAR(peaks[3], 3000 + 6000 * x[3] / 3, 30);
        EXPECT_EQ(rt::get(fig, "Pointer").text(), "custom");
        EXPECT_EQ(rt::get(fig, "PointerShapeHotSpot").real(), (std::vector<double>{8, 8}));
        const std::string n = rt::num2str(window());
        EXPECT_EQ(rt::get(fig, "WindowButtonDownFcn").text(),
                  "erase,set(" + n + ",'WindowButtonMotionFcn', 'erase')");
        const Value save = rt::findobj({fig, Value("String"), Value(st().save)});
        EXPECT_EQ(rt::get(save, "Callback").text(), "save_wav_era('',[1  2],3)");
        done();
    });
    erase_window(recording(3, kFS));
}

TEST_F(EraseWindow, EraserCursorIsAWhiteSquareWithACross) {
    const std::vector<double> c = editor::eraser_cursor().real();
    ASSERT_EQ(c.size(), 256u);
    int white = 0;
    for (double v : c) white += v == 2;
    EXPECT_EQ(white, 84);
    auto at = [&](int r, int col) { return c[static_cast<std::size_t>((col - 1) * 16 + r - 1)]; };
    EXPECT_EQ(at(3, 3), 2);
    EXPECT_EQ(at(3, 14), 2);
    EXPECT_TRUE(std::isnan(at(2, 2)));
    EXPECT_EQ(at(2, 16), 2);
}

TEST_F(EraseWindow, AClickWithoutMotionClearsAroundPressAndRelease) {
    on_wait([&] {
        const Eigen::MatrixXd before = cdata();
        const auto x = xdata(), y = ydata();
        const double t = x[5], rpm = 6000;
        stroke({{t, rpm}});
        const auto [dx, dy] = step();
        const Eigen::MatrixXd after = cdata();
        int cleared = 0;
        for (Eigen::Index c = 0; c < after.cols(); ++c)
            for (Eigen::Index r = 0; r < after.rows(); ++r) {
                const bool inside =
                    std::abs(x[c] - t) < 6 * dx && y[r] > rpm - 6 * dy && y[r] < rpm + 5 * dy;
                if (inside) {
                    EXPECT_EQ(after(r, c), 0);
                    ++cleared;
                } else {
                    ASSERT_EQ(after(r, c), before(r, c)) << r << " " << c;
                }
            }
        EXPECT_GT(cleared, 0);
        // The trail is back to its seed; the pointer is the eraser again.
        const auto trail = rt::get(Value(tagged1("TempPlot")), "XData").real();
        ASSERT_EQ(trail.size(), 1u);
        EXPECT_TRUE(std::isnan(trail[0]));
        EXPECT_EQ(rt::get(Value(window()), "Pointer").text(), "custom");
        EXPECT_EQ(rt::get(Value(window()), "WindowButtonUpFcn").text(), "");
        done();
    });
    erase_window(recording(3, kFS));
}

TEST_F(EraseWindow, ClearingAColumnDropsItsPeakToTheLowestRpmAndStrokesAccumulate) {
    const Eigen::MatrixXd Y = recording(3, kFS);
    double column_time = 0;
    on_wait([&] {
        const auto x = xdata();
        column_time = x[4];
        // Down the whole column, a few pixels a step.
        std::vector<std::pair<double, double>> down;
        for (double rpm = 10000; rpm >= 2000; rpm -= 100) down.push_back({column_time, rpm});
        stroke(down);
        EXPECT_TRUE((cdata().col(4).array() == 0).all());
        EXPECT_EQ(trace()[4], 2000);
        // A second stroke elsewhere leaves the first one's cells cleared.
        stroke({{x[8], 5000}, {x[8], 5100}});
        EXPECT_TRUE((cdata().col(4).array() == 0).all());
        EXPECT_EQ(trace()[4], 2000);
        done();
    });
    const rt::Values out = erase_window(Y);
    ASSERT_EQ(out[1].scalar(), 1);
    // At the cleared slice's centre the tone runs at mr/60 L = 100 Hz.
    const auto f = out[2].real();
    EXPECT_NEAR(f[static_cast<std::size_t>(std::llround(column_time * kFS))], 100, 1e-9);
}

TEST_F(EraseWindow, DoneRebuildsTheChosenChannelsStrictlyInsideTheSliceCentres) {
    const Eigen::MatrixXd Y = recording(3, kFS);
    for (const Value& ch : {Value::row({1, 2}), Value(1.0), Value(2.0)}) {
        SCOPED_TRACE(ch.real().size() == 2 ? 12 : ch.scalar());
        busy();
        on_wait([&] { done(); });
        const rt::Values out = erase_window(Y, ch);
        ASSERT_EQ(out[1].scalar(), 1);
        EXPECT_EQ(window(), 0);
        EXPECT_TRUE(main_busy());
        const Eigen::MatrixXd got = rt::toMatrix(out[0]);
        // 0.2 s is exactly sample 1764: on the bound, so dropped.
        const Eigen::Index first = 1765;
        ASSERT_GT(got.rows(), 0);
        const auto f = out[2].real(), t = out[3].real();
        ASSERT_EQ(f.size(), std::size_t(Y.rows()));
        ASSERT_EQ(t.size(), std::size_t(Y.rows()));
        // Track times count from the first returned sample.
        EXPECT_DOUBLE_EQ(t[first], 0);
        EXPECT_DOUBLE_EQ(t[0], -first / kFS);
        const std::vector<double> c = ch.real();
        for (int k = 1; k <= 2; ++k) {
            const bool tone = std::find(c.begin(), c.end(), double(k)) != c.end();
            if (tone) {
                EXPECT_NEAR(got.col(k - 1).cwiseAbs().maxCoeff(), 1, 1e-3);
                EXPECT_NE(got(0, k - 1), Y(first, k - 1));
            } else {
                EXPECT_EQ(got.col(k - 1), Y.col(k - 1).segment(first, got.rows()));
            }
        }
    }
}

TEST_F(EraseWindow, CancelHandsBackNothingAndMakesTheMainWindowReady) {
    on_wait([&] { cancel(); });
    const rt::Values out = erase_window(recording(2, kFS));
    EXPECT_EQ(out[1].scalar(), 0);
    EXPECT_EQ(window(), 0);
    EXPECT_TRUE(main_ready());
}

}  // namespace
