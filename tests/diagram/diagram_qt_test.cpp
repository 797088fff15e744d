// A power/torque window as Qt shows it, offscreen, at the screen sizes in use today. With
// ROVANTEL_GRAB_DIR set, the grabs are saved there for a look.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "diagram_fixture.h"
#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/event_loop.h"
#include "shell/rovantel.h"
#include "shell/shell_test_support.h"

namespace {

using rt::Value;

class DiagramQt : public ::testing::Test {
protected:
    DiagramQt()
        : dialogs_([](const std::string& line) { ADD_FAILURE() << line; }),
          table_(shell::rovantel_function_table()),
          interp_(table_, &builtins_) {
        rt::register_graphics_builtins(builtins_);
    }
    void SetUp() override {
        rt::graphics().reset();
        host_ = std::make_unique<rt::QtHost>();
        host_->setDialogs(&dialogs_);
        host_->setEvaluator([this](const std::string& code) { interp_.eval(code); });
        previous_ = rt::setHost(host_.get());
        shell_test::use_table(shell::german_table());
    }
    void TearDown() override {
        rt::graphics().reset();
        rt::graphics().useHostScreen();
        rt::setHost(previous_);
        host_.reset();
    }

    // An acceleration run: power in PS and torque in Nm over the engine speed.
    void run(const char* wav, double scale, std::vector<double> colour) {
        shell::set_tagged("wav_file", "String", Value(wav));
        const auto rpm = diagram_test::ramp(2500, 9500, 2000);
        std::vector<double> ps(rpm.size()), nm(rpm.size());
        for (std::size_t i = 0; i < rpm.size(); ++i) {
            const double t = (rpm[i] - 8200) / 7000;
            ps[i] = scale * 62 * (1 - 1.3 * t * t);
            nm[i] = ps[i] / rpm[i] * 7024;
        }
        table_.call("plot_diag",
                    {rt::rowVector(rpm), diagram_test::columns(ps, nm), Value::row(colour),
                     Value(std::string("Lauf ") + wav), Value(1.0), Value(1.0), Value(1.0)},
                    0);
    }

    rt::ScriptedDialogs dialogs_;
    rt::FunctionTable table_, builtins_;
    rt::CallbackInterpreter interp_;
    std::unique_ptr<rt::QtHost> host_;
    rt::Host* previous_ = nullptr;
};

// Pixels of exactly `c` inside `r`.
int count(const QImage& img, const QRect& r, QColor c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

}  // namespace

TEST_F(DiagramQt, ThreeRunsOneHiddenAtFullHdAndAtLaptopSize) {
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{1366, 768}}) {
        SCOPED_TRACE(w);
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{double(w), double(h), 96});
        interp_.eval("rovantel");
        run("/runs/a.wav", 1.0, {1, 0, 0});
        run("/runs/b.wav", 0.9, {0, 0.6, 0});
        run("/runs/c.wav", 0.8, {0, 0, 1});

        const rt::Handle fig =
            rt::findobj({Value("Type"), Value("figure"), Value("Name"),
                         Value(u"Diagramme: RPM [1/min] - Leistung[PS]/Drehm[Nm] ")})
                .scalar();
        rt::FigureWindow* window = host_->window(fig);
        ASSERT_NE(window, nullptr);
        EXPECT_NEAR(window->width(), rt::graphics().pixelPosition(fig)[2], 1);

        // The user unticks the second run on its checkbox.
        const auto boxes = rt::findobj({Value(fig), Value("Style"), Value("checkbox")}).real();
        ASSERT_EQ(boxes.size(), 3u);
        auto* box = qobject_cast<QCheckBox*>(window->control(boxes[1])->widget());
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(rt::get(Value(boxes[1]), "Value").scalar(), 0);

        rt::drawnow();
        const QImage grab = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(grab.isNull());
        if (const char* dir = std::getenv("ROVANTEL_GRAB_DIR"))
            grab.save(QString("%1/diagram_%2x%3.png").arg(dir).arg(w).arg(h));

        // Inside the axes the shown runs' colours are drawn, the hidden one's is not.
        const rt::Rect ax = rt::graphics().pixelPosition(
            shell::tagged(u"DiagAxes" + rt::get(Value(fig), "Name").text16()).scalar());
        const QRect box_px(int(ax[0]) + 2, grab.height() - int(ax[1] + ax[3]) + 2, int(ax[2]) - 4,
                           int(ax[3]) - 4);
        EXPECT_GT(count(grab, box_px, QColor(255, 0, 0)), 200);
        EXPECT_GT(count(grab, box_px, QColor(0, 0, 255)), 200);
        EXPECT_EQ(count(grab, box_px, QColor(0, 153, 0)), 0);
    }
}
