// The main window and its diagram windows as Qt shows them, offscreen, with scripted dialogs;
// runs are handed to plot_diag by name as the evaluation hands them.
#pragma once

#include "diagram_fixture.h"
#include "shell/shell_qt_fixture.h"

namespace diagram_test {

class DiagramQt : public shell_test::ShellQtTest {
protected:
    // Starts the program on a screen of w x h pixels.
    void start(double w, double h) {
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{w, h, 96});
        interp_.eval("rovantel");
    }

    // An acceleration run: power in PS and torque in Nm over the engine speed.
    void run(const char* wav, double scale, std::vector<double> colour) {
        shell::set_tagged("wav_file", "String", Value(wav));
        const auto rpm = ramp(2500, 9500, 2000);
        std::vector<double> ps(rpm.size()), nm(rpm.size());
        for (std::size_t i = 0; i < rpm.size(); ++i) {
            const double t = (rpm[i] - 8200) / 7000;
            ps[i] = scale * 62 * (1 - 1.3 * t * t);
            nm[i] = ps[i] / rpm[i] * 7024;
        }
        table_.call("plot_diag",
                    {rt::rowVector(rpm), columns(ps, nm), Value::row(colour),
                     Value(std::string("Lauf ") + wav), Value(1.0), Value(1.0), Value(1.0)},
                    0);
    }

    rt::Handle power_window() const {
        return rt::findobj({Value("Type"), Value("figure"), Value("Name"),
                            Value(u"Diagramme: RPM [1/min] - Leistung[PS]/Drehm[Nm] ")})
            .scalar();
    }
};

}  // namespace diagram_test
