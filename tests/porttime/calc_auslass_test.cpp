// The port's computation checked against an independent one, and the result window.
#include "porttime/calc_auslass.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "kelvora_fixture.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "support/test_helpers.h"

namespace {

using kelvora_test::KelvoraTest;
using porttime::PortInput;
using rt::Value;
constexpr double kPi = std::numbers::pi;

// The same quantities worked out another way: the piston height from the crank angle by the
// forward slider-crank relation (angles found by bisection), the port's corners placed from
// their tangents, areas by quadrature and the total area in closed form.
class Reference {
public:
    explicit Reference(const PortInput& in) : in_(in), s_(in.stroke / 2) {
        y1 = in.stroke - in.exhaustOpening;
        y2 = in.stroke - in.transferOpening;
        y3 = in.stroke - in.exhaustClosing;
        half1_ = in.widthTop / 2;
        half2_ = in.widthTransfer / 2;
        slope_ = (half1_ - half2_) / (y1 - y2);
        const double a = std::atan(slope_), sec = std::sqrt(1 + slope_ * slope_);
        // A corner's centre lies its radius from the roof (floor) and from the side wall.
        up_ = {wall(y1 - in.r1) - in.r1 * sec, y1 - in.r1, in.r1};
        down_ = {wall(y3 + in.r2) - in.r2 * sec, y3 + in.r2, in.r2};
        upTangent_ = up_.cy - in.r1 * std::sin(a);
        downTangent_ = down_.cy - in.r2 * std::sin(a);
        // Uncovered area below the roof, tabulated finely.
        for (int i = 0; i <= kSteps; ++i) {
            const double y = y1 - (y1 - y3) * i / kSteps;
            const double prev = y1 - (y1 - y3) * (i - 1) / kSteps;
            area_.push_back(i == 0 ? 0 : area_.back() + (width(y) + width(prev)) / 2 * (prev - y));
        }
    }

    double height(double theta) const {
        const double sn = std::sin(theta);
        return s_ * std::cos(theta) + std::sqrt(in_.rod * in_.rod - s_ * s_ * sn * sn) - in_.rod +
               s_;
    }
    double angleAt(double h) const {
        double lo = 0, hi = kPi;  // height falls from the stroke to 0
        for (int i = 0; i < 200; ++i) {
            const double mid = (lo + hi) / 2;
            (height(mid) > h ? lo : hi) = mid;
        }
        return (lo + hi) / 2;
    }
    double width(double y) const {  // full width
        if (y > upTangent_) return 2 * (up_.cx + std::sqrt(sq(up_.r) - sq(y - up_.cy)));
        if (y < downTangent_) return 2 * (down_.cx + std::sqrt(sq(down_.r) - sq(y - down_.cy)));
        return 2 * wall(y);
    }
    double uncovered(double h) const {
        const double f = (y1 - h) / (y1 - y3) * kSteps;
        const int i = std::min(static_cast<int>(f), kSteps - 1);
        return area_[i] + (area_[i + 1] - area_[i]) * (f - i);
    }
    // The port's area: its trapezoid less the four corners the arcs cut off.
    double totalArea() const {
        const double a = std::atan(slope_), top = kPi / 2 - a, bottom = kPi / 2 + a;
        auto corner = [](double r, double angle) {
            return r * r * (1 / std::tan(angle / 2) - (kPi - angle) / 2);
        };
        return (half1_ + wall(y3)) * (y1 - y3) - 2 * corner(in_.r1, top) -
               2 * corner(in_.r2, bottom);
    }
    double widest() const { return 2 * (up_.cx + up_.r); }
    // Mean uncovered area over the crank angles from the opening to `endHeight`.
    double meanArea(double endHeight) const {
        const double t0 = angleAt(y1), t1 = angleAt(endHeight);
        double sum = 0;
        const int n = 20000;
        for (int i = 0; i < n; ++i) sum += uncovered(height(t0 + (t1 - t0) * (i + 0.5) / n));
        return sum / n;
    }
    double ccm() const { return kPi * sq(in_.bore / 20) * in_.stroke / 10; }

    double y1, y2, y3;

private:
    struct Arc {
        double cx, cy, r;
    };
    static double sq(double v) { return v * v; }
    double wall(double y) const { return half2_ + (y - y2) * slope_; }
    static constexpr int kSteps = 200000;
    PortInput in_;
    double s_, half1_, half2_, slope_, upTangent_, downTangent_;
    Arc up_, down_;
    std::vector<double> area_;
};

double degrees(double rad) { return rad * 180 / kPi; }

TEST_F(KelvoraTest, DefaultsGiveTheTwelveResultLines) {
    start();
    press("CALCULATE");
    const PortInput in;
    const Reference ref(in);
    const std::vector<std::string> lines = resultLines();
    ASSERT_EQ(lines.size(), 12u);

    const double st1 = ref.angleAt(ref.y1), st2 = ref.angleAt(ref.y2);
    EXPECT_NEAR(resultNumber("Timing Exhaust    : "), 360 - 2 * degrees(st1), 0.006);
    EXPECT_NEAR(resultNumber("Timing Transfer   : "), 360 - 2 * degrees(st2), 0.006);
    EXPECT_NEAR(resultNumber("Total Area        : "), ref.totalArea(), 0.05);
    const double ta = (180 - degrees(st1)) * 2 / in.rpm / 6;
    EXPECT_NEAR(resultNumber("Mean Exhaust-TA   : "), ref.meanArea(ref.y3) / ref.ccm() * ta * 1000,
                0.01);
    const double tv = degrees(st2 - st1) / in.rpm / 6;
    EXPECT_NEAR(resultNumber("Mean Blowdown-TA  : "), ref.meanArea(ref.y2) / ref.ccm() * tv * 10000,
                0.01);
    EXPECT_NEAR(resultNumber("Maximal Width     : "), ref.widest(), 0.01);

    // The lines as the window shows them: 20-character labels, numbers 15 wide.
    EXPECT_EQ(lines[0].substr(0, 20), "Timing Exhaust    : ");
    EXPECT_EQ(lines[0].substr(35), "\u00b0 /          33.00mm");
    EXPECT_EQ(lines[1].substr(35), "\u00b0 /          48.00mm");
    EXPECT_EQ(lines[2].substr(35), "mm\u00b2");
    EXPECT_EQ(lines[3].substr(35), " @            7500rpm");
    EXPECT_EQ(lines[4].substr(0, 20), "Mean Blowdown-TA  : ");
    const std::string pct = lines[5].substr(lines[5].find("mm / ") + 5);
    EXPECT_NEAR(std::stod(pct), ref.widest() / in.bore * 100, 0.001);
    EXPECT_EQ(pct.back(), '%');
    EXPECT_EQ(lines[6], "Closeing Exhaust  :           60.00mm");
    EXPECT_EQ(lines[7], "Width at Top      :           45.00mm");
    EXPECT_EQ(lines[8], "Width at Transfer :           43.00mm");
    EXPECT_EQ(lines[9], "Upper Radius      :            8.00mm");
    EXPECT_EQ(lines[10], "Lower Radius      :           15.00mm");
    EXPECT_EQ(lines[11], "Rounding          :            0.00mm");
}

// The areas as the program sums them, each step's rise of the uncovered height times the
// port's width at the step's end, worked from the reference's own heights and widths: they
// must agree to rounding, where the two-decimal result lines would hide a sum that took each
// step's width at its start.
TEST(PortTimeArea, AreasAndTimeAreasAreTheStepSumsToFullPrecision) {
    for (double rounding : {0.0, 5.0}) {
        PortInput in;
        in.r3 = rounding;
        SCOPED_TRACE("roof rounding " + std::to_string(rounding));
        const Reference ref(in);
        const porttime::PortTimeArea r = porttime::port_time_area(in);
        const int n = 10000;
        // The crank angles by the triangle of crank, rod and the pin's distance from the crank
        // centre (bisection on the height cannot place bottom dead centre closely enough).
        const auto angle = [&](double y) {
            const double c = in.stroke / 2, d = in.rod - c + y;
            return std::acos(
                std::clamp((c * c + d * d - in.rod * in.rod) / (2 * c * d), -1.0, 1.0));
        };
        const double st1 = angle(ref.y1), st2 = angle(ref.y2), st3 = angle(ref.y3);
        std::vector<double> h, w;  // height and full width at each crank position
        for (int i = 0; i < n; ++i) {
            // As in the program, rounding may not carry the ends outside the port.
            const double y =
                std::clamp(ref.height(st1 + (st3 - st1) * i / (n - 1)), ref.y3, ref.y1);
            double width = ref.width(y);
            // The roof rounding narrows the port by ((y1 - y - r3)/r3)^10 from r3 below the roof.
            const double below = ref.y1 - y;
            if (rounding != 0 && below <= rounding)
                width *= 1 - std::pow((below - rounding) / rounding, 10);
            h.push_back(y);
            w.push_back(width);
        }
        const auto sums = [&](double lowest) {  // areas after each step down to `lowest`
            std::vector<double> areas;
            double area = 0;
            for (std::size_t i = 1; i < h.size() && h[i] >= lowest; ++i)
                areas.push_back(area += (h[i - 1] - h[i]) * w[i]);
            return areas;
        };
        const auto mean = [](const std::vector<double>& v) {
            double sum = 0;
            for (double a : v) sum += a;
            return sum / static_cast<double>(v.size());
        };
        const std::vector<double> AA = sums(ref.y3), AV = sums(ref.y2);
        ASSERT_EQ(r.AA.size(), AA.size());
        for (std::size_t i = 0; i < AA.size(); ++i)
            ASSERT_NEAR(r.AA[i], AA[i], 1e-9 * AA.back()) << "after step " << i + 1;
        const double ta = (180 - degrees(st1)) * 2 / in.rpm / 6;
        const double tv = degrees(st2 - st1) / in.rpm / 6;
        const double taa = mean(AA) / ref.ccm() * ta * 1000;
        const double tav = mean(AV) / ref.ccm() * tv * 10000;
        EXPECT_NEAR(r.TAA, taa, 1e-9 * taa);
        EXPECT_NEAR(r.TAV, tav, 1e-9 * tav);
    }
}

TEST(PortTimeArea, CrankAnglesAndTheRunOfSamples) {
    const PortInput in;
    const double s = in.stroke / 2;
    // Crank at right angles: the pin sits sqrt(rod² - s²) above the crank centre.
    EXPECT_NEAR(porttime::crank_angle(in, std::sqrt(in.rod * in.rod - s * s) - in.rod + s), kPi / 2,
                1e-12);
    EXPECT_DOUBLE_EQ(porttime::crank_angle(in, in.stroke), 0);
    EXPECT_DOUBLE_EQ(porttime::crank_angle(in, 0), kPi);

    // The defaults put the floor at bottom dead centre: the samples run from the opening to it.
    const porttime::PortTimeArea r = porttime::port_time_area(in);
    ASSERT_EQ(r.Y.size(), 10000u);
    EXPECT_DOUBLE_EQ(r.st3, kPi);
    EXPECT_NEAR(r.Y.front(), 27, 1e-9);
    EXPECT_NEAR(r.Y.back(), 0, 1e-9);
    EXPECT_TRUE(std::is_sorted(r.Y.rbegin(), r.Y.rend()));
    // Every sample lies in the port, even where rounding carries the last one below the floor.
    for (double floorAt : {42.96, 45.18, 49.62, 56.28, 57.77}) {
        PortInput p;
        p.exhaustClosing = floorAt;
        const porttime::PortTimeArea q = porttime::port_time_area(p);
        EXPECT_TRUE(std::none_of(q.X.begin(), q.X.end(), [](double x) { return std::isnan(x); }))
            << floorAt;
        EXPECT_TRUE(std::isfinite(q.AA.back()) && std::isfinite(q.TAA) && std::isfinite(q.TAV));
    }
}

TEST(PortTimeArea, EqualWidthsAndTheRoofRounding) {
    PortInput straight;
    straight.widthTransfer = straight.widthTop;  // accepted: a vertical wall
    const porttime::PortTimeArea s = porttime::port_time_area(straight);
    EXPECT_EQ(s.outline.a, 0);
    for (std::size_t i = 0; i < s.Y.size(); ++i)
        if (s.Y[i] <= s.outline.yr1 && s.Y[i] > s.outline.yr2) {
            ASSERT_EQ(s.X[i], 22.5);
        }

    // r3 = 0 leaves the roof as the arcs make it; r3 > 0 brings the width to 0 at the roof
    // and leaves it untouched from r3 below it.
    const porttime::PortTimeArea flat = porttime::port_time_area(PortInput{});
    PortInput rounded;
    rounded.r3 = 5;
    const porttime::PortTimeArea round = porttime::port_time_area(rounded);
    EXPECT_GT(flat.X.front(), 13);
    EXPECT_NEAR(round.X.front(), 0, 1e-9);
    for (std::size_t i = 0; i < round.Y.size(); ++i) {
        if (round.Y[i] <= 27 - 5) {
            EXPECT_EQ(round.X[i], flat.X[i]);
        } else {
            EXPECT_LE(round.X[i], flat.X[i]);
        }
    }
    EXPECT_LT(round.AA.back(), flat.AA.back());
}

TEST(PortTimeArea, AcceptedPortsNeverHaveANegativeWidth) {
    int accepted = 0, refused = 0;
    for (double top : {0.0, 10.0, 30.0, 45.0})
        for (double narrowing : {0.0, 2.0, 12.0, 30.0})
            for (double r1 : {0.0, 4.0, 8.0, 20.0})
                for (double r2 : {0.0, 6.0, 15.0, 30.0}) {
                    PortInput in;
                    in.widthTop = top;
                    in.widthTransfer = std::max(0.0, top - narrowing);
                    in.r1 = r1;
                    in.r2 = r2;
                    porttime::PortTimeArea r;
                    try {
                        r = porttime::port_time_area(in);
                    } catch (const rt::Error&) {
                        ++refused;
                        continue;
                    }
                    ++accepted;
                    const double least = *std::min_element(r.X.begin(), r.X.end());
                    ASSERT_GE(least, -1e-9) << top << " " << narrowing << " " << r1 << " " << r2;
                    ASSERT_TRUE(std::is_sorted(r.AA.begin(), r.AA.end()));
                }
    EXPECT_GT(accepted, 40);
    EXPECT_GT(refused, 40);

    // A port of no width at all, without corners, has no area.
    PortInput none;
    none.widthTop = none.widthTransfer = none.r1 = none.r2 = 0;
    const porttime::PortTimeArea r = porttime::port_time_area(none);
    EXPECT_EQ(r.AA.back(), 0);
    EXPECT_EQ(r.TAA, 0);
}

TEST_F(KelvoraTest, InputOutsideTheGeometryIsRefusedAndNothingIsDrawn) {
    start();
    const std::vector<std::string> tags = {"Bore",
                                           "Stroke",
                                           "Rod",
                                           "RPM",
                                           "ExhaustOpening",
                                           "ExhaustCloseing",
                                           "TransferOpening",
                                           "Width@Top",
                                           "Width@Transfer",
                                           "RadiusUp",
                                           "RadiusDown",
                                           "UpperRounding"};
    std::vector<std::string> defaults;
    for (const std::string& t : tags) defaults.push_back(rt::utf8(shell::string_of(t)));
    const struct {
        std::vector<std::pair<std::string, std::string>> typed;
        std::string message;
    } cases[] = {
        {{{"Width@Top", "40"}}, "x1 has to be larger than x2"},
        {{{"Bore", "abc"}}, "Bore must be a number."},
        {{{"Stroke", ""}}, "Stroke must be a number."},
        {{{"UpperRounding", "1 2"}}, "Rounding (r3) must be a number."},
        {{{"Bore", "-63"}}, "Bore must be larger than 0."},
        {{{"RPM", "0"}}, "Target RPM must be larger than 0."},
        {{{"Rod", "30"}}, "Rod must be longer than half the stroke."},
        {{{"ExhaustCloseing", "61"}},
         "Exhaust Closeing must lie between 0 and the stroke (60 mm)."},
        {{{"ExhaustOpening", "-1"}}, "Exhaust Opening must lie between 0 and the stroke (60 mm)."},
        {{{"TransferOpening", "30"}}, "Transfer Opening must lie below Exhaust Opening."},
        {{{"ExhaustCloseing", "33"}}, "Exhaust Closeing must lie below Exhaust Opening."},
        {{{"Width@Top", "70"}}, "Width at Top must not be larger than the bore."},
        {{{"RadiusUp", "-1"}}, "Upper Radius (r1) must not be negative."},
        {{{"Width@Transfer", "-4"}, {"Width@Top", "-2"}},
         "Width at Transfer must not be negative."},
        {{{"Width@Top", "0"}, {"Width@Transfer", "0"}},
         "Upper Radius (r1) is too large for the port's width."},
        {{{"Width@Top", "20"}, {"Width@Transfer", "20"}},
         "Lower Radius (r2) is too large for the port's width."},
        {{{"Width@Transfer", "10"}},
         "Width at Transfer is too small: the side walls meet above the port floor."},
        // No window or page holds these at true scale.
        {{{"Bore", "1e300"}},
         "Bore must not be larger than 293.3 mm: its port map at true scale would fit no "
         "window or page."},
        {{{"Stroke", "500"}, {"Rod", "900"}},
         "Stroke must not be larger than 408.8 mm: its port map at true scale would fit no "
         "window or page."},
        // The walls meet at the transfer height, where the upper corner would not fit either.
        {{{"Width@Transfer", "0"}},
         "Width at Transfer is too small: the side walls meet above the port floor."},
    };
    for (const auto& c : cases) {
        for (std::size_t i = 0; i < tags.size(); ++i) type(tags[i], defaults[i]);
        for (const auto& [tag, text] : c.typed) type(tag, text);
        EXPECT_EQ(testsupport::errorOf([&] { press("CALCULATE"); }), c.message);
        EXPECT_EQ(resultWindow(), 0) << c.message;
    }
    EXPECT_FALSE(std::filesystem::exists("print.ps"));
}

TEST_F(KelvoraTest, ResultWindowIsReusedAndTrueToScale) {
    start();
    press("CALCULATE");
    const rt::Handle fig = resultWindow();
    ASSERT_NE(fig, 0);
    EXPECT_EQ(rt::get(Value(fig), "Name").text(), "Exhaust Plot");
    EXPECT_EQ(rt::get(Value(fig), "NumberTitle").text(), "off");
    type("RadiusUp", "6");
    press("CALCULATE");
    EXPECT_EQ(shell::tagged("PlotFig").numel(), 1u);
    EXPECT_EQ(resultWindow(), fig);
    EXPECT_EQ(rt::graphics().children(fig).size(), 3u) << "cleared and drawn anew";
    EXPECT_EQ(resultLines().size(), 12u);
    EXPECT_EQ(resultLines()[9], "Upper Radius      :            6.00mm");

    // The port map's millimetres fill its axes: the window is sized in centimetres so that
    // one millimetre of it is one millimetre on screen and on paper.
    const Value f(fig);
    EXPECT_EQ(rt::get(f, "Units").text(), "centimeters");
    EXPECT_EQ(rt::get(f, "PaperUnits").text(), "centimeters");
    const auto pos = rt::get(f, "Position").real();
    EXPECT_EQ(rt::get(f, "PaperPosition").real(), pos);
    EXPECT_NEAR(pos[2], 63 * kPi / 0.775 / 10, 1e-9);
    EXPECT_NEAR(pos[3], 60 / 0.343902 / 10, 1e-4);
    const Value map = rt::findobj({f, Value("Type"), Value("axes"), Value("XLim"),
                                   Value::row({-63 * kPi / 2, 63 * kPi / 2})});
    ASSERT_GE(map.numel(), 1u);
    const rt::Rect box = rt::graphics().pixelPosition(map.at(map.numel() - 1));
    const double ppi = rt::graphics().screen().pixelsPerInch;
    EXPECT_NEAR(box[2] / ppi * 25.4, 63 * kPi, 1e-6);
    EXPECT_NEAR(box[3] / ppi * 25.4, 60, 1e-3);
}

TEST_F(KelvoraTest, PrintFileOnlyWhenNamed) {
    start();
    type("PrintFile", "");
    press("CALCULATE");
    EXPECT_NE(resultWindow(), 0);
    std::vector<std::string> files;
    for (const auto& e : std::filesystem::directory_iterator("."))
        files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"auslassmassen.png"}) << "nothing written";
    type("PrintFile", "print.ps");
    press("CALCULATE");
    std::ifstream in("print.ps");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "%!PS-Adobe-3.0 EPSF-3.0");
}

// The print file is refused, naming it, when it gives a folder (which would become a hidden
// "sub/.eps") or is read-only; the old file is kept.
TEST_F(KelvoraTest, APrintFileThatGivesAFolderOrIsReadOnlyIsRefusedNamingIt) {
    start();
    std::filesystem::create_directory("sub");
    std::ofstream("ro.ps") << "the previous plot";
    std::filesystem::permissions("ro.ps", std::filesystem::perms(0444));
    for (const auto& [typed, message] :
         {std::pair{"sub/", "Cannot write \"sub/\": it names a folder, not a file."},
          std::pair{"ro.ps", "Cannot write \"ro.ps\": the file is read-only."}}) {
        type("PrintFile", typed);
        EXPECT_EQ(testsupport::errorOf([&] { press("CALCULATE"); }), message);
    }
    EXPECT_TRUE(std::filesystem::is_empty("sub"));
    std::ifstream in("ro.ps");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the previous plot");
}

}  // namespace
