#include "signal/waitbar.h"

#include <gmock/gmock.h>

#include "fixture.h"
#include "runtime/dispatch/function_table.h"

namespace {

using ph::errorOf;
using rt::Value;
using V = std::vector<double>;

class WaitbarTest : public ph::PlotTest {
protected:
    // The window's rectangle in screen pixels (0-based, bottom-left origin).
    rt::Rect px(rt::Handle f) { return g().pixelPosition(f); }
    rt::Handle only(const char* type, rt::Handle f) {
        const Value found = rt::findobj({Value(f), Value("Type"), Value(type)});
        EXPECT_EQ(found.numel(), 1u) << type;
        return found.isEmpty() ? 0 : found.at(0);
    }
    std::vector<double> bar(rt::Handle f) { return vec(only("patch", f), "XData"); }
    std::string message(rt::Handle f) { return text(num(only("axes", f), "Title"), "String"); }
};

TEST_F(WaitbarTest, CreatesANamedCentredWindowOf360By75Pixels) {
    const rt::Handle f = sig::waitbar(
        0, Value("Bitte warten"),
        {Value("NumberTitle"), Value("off"), Value("Name"), Value("Berechne Diagramm")});
    EXPECT_EQ(text(f, "Name"), "Berechne Diagramm");
    EXPECT_EQ(text(f, "NumberTitle"), "off");
    EXPECT_EQ(text(f, "Tag"), "WaitbarWindow");
    EXPECT_EQ(text(f, "Visible"), "on");
    EXPECT_EQ(text(f, "HandleVisibility"), "callback");
    EXPECT_NE(f, std::floor(f)) << "no integer handle";
    const rt::Rect r = px(f);
    EXPECT_NEAR(r[2], 360, 1e-9);
    EXPECT_NEAR(r[3], 75, 1e-9);
    EXPECT_NEAR(r[0] + r[2] / 2, 960, 1e-9);
    EXPECT_NEAR(r[1] + r[3] / 2, 540, 1e-9);
    EXPECT_EQ(bar(f), (V{0, 0, 0, 0}));
    EXPECT_EQ(message(f), "Bitte warten");
    EXPECT_EQ(text(0, "Units"), "pixels") << "root units restored";

    const rt::Handle frame = only("line", f);
    EXPECT_EQ(vec(frame, "XData"), (V{100, 0, 0, 100, 100}));
    EXPECT_EQ(vec(frame, "YData"), (V{0, 0, 1, 1, 0}));
    const rt::Handle ax = only("axes", f);
    EXPECT_EQ(vec(ax, "XLim"), (V{0, 100}));
    EXPECT_TRUE(g().get(ax, "XTick").isEmpty());
    EXPECT_EQ(text(ax, "Box"), "on");
    // The axes is 0.9 of the window wide, 0.3 of its height up, 0.2 high.
    const rt::Rect a = g().pixelPosition(ax);
    EXPECT_NEAR(a[0], 18, 1e-9);
    EXPECT_NEAR(a[1], 22.5, 1e-9);
    EXPECT_NEAR(a[2], 324, 1e-9);
    EXPECT_NEAR(a[3], 15, 1e-9);
}

TEST_F(WaitbarTest, UpdatesMoveTheBarWithinItsFrame) {
    const rt::Handle f = sig::waitbar(0.25, Value("m"));
    EXPECT_EQ(bar(f), (V{0, 25, 25, 0}));
    const struct {
        double x, extent;
    } cases[] = {{0.45, 45}, {0.73, 73}, {0.99, 99}, {1.5, 100}, {-1, 0}, {1, 100}, {0, 0}};
    for (const auto& c : cases) {
        sig::waitbar(c.x, f);
        EXPECT_NEAR(bar(f)[1], c.extent, 1e-12) << c.x;
        EXPECT_NEAR(bar(f)[2], c.extent, 1e-12) << c.x;
    }
    sig::waitbar(0.5, f, Value("neu"));
    EXPECT_EQ(message(f), "neu");
    EXPECT_EQ(bar(f), (V{0, 50, 50, 0}));
}

TEST_F(WaitbarTest, LongMessageWidensAndRecentresTheWindow) {
    // The headless font estimate: 0.6 em a character, so 80 characters at 10 points are
    // 480 points wide (640 pixels); the window becomes 1.1 times that.
    const std::string longText(80, 'W');
    const rt::Handle f = sig::waitbar(0, Value(longText));
    const rt::Rect r = px(f);
    EXPECT_NEAR(r[2], 1.1 * 640, 1e-6);
    EXPECT_NEAR(r[0] + r[2] / 2, 960, 1e-6);
    EXPECT_NEAR(r[3], 75, 1e-9);
    const rt::Rect a = g().pixelPosition(only("axes", f));
    EXPECT_NEAR(a[0], 0.05 * r[2], 1e-6);
    EXPECT_NEAR(a[2], 0.9 * r[2], 1e-6);

    // Never wider than the screen.
    const rt::Handle huge = sig::waitbar(0, Value(std::string(400, 'W')));
    EXPECT_NEAR(px(huge)[2], 1920, 1e-6);
    EXPECT_NEAR(px(huge)[0], 0, 1e-6);

    // A message up to a tenth wider than the window leaves it as it is.
    const rt::Handle near = sig::waitbar(0, Value(std::string(48, 'W')));  // 288 of 270 points
    EXPECT_NEAR(px(near)[2], 360, 1e-9);
}

TEST_F(WaitbarTest, TallMessageRaisesTheWindow) {
    // Four lines of 12 points each no longer fit above the axes of a 56.25-point window.
    const Value lines = Value::charMatrix(std::vector<std::string>{"a", "b", "c", "d"});
    const rt::Handle f = sig::waitbar(0, lines);
    const rt::Rect r = px(f);
    // 48 (text) + 16.875 + 11.25 (axes bottom and height) + 5 points, in pixels.
    EXPECT_NEAR(r[3], (48 + 16.875 + 11.25 + 5) * 4 / 3, 1e-6);
    EXPECT_NEAR(r[1] + r[3] / 2, 540, 1e-6);
    EXPECT_NEAR(r[2], 360, 1e-9);
}

TEST_F(WaitbarTest, OneInputFindsTheWindowOrCreatesOne) {
    const rt::Handle made = sig::waitbar(0.2);
    EXPECT_EQ(message(made), "Waitbar");
    EXPECT_EQ(bar(made), (V{0, 20, 20, 0}));
    EXPECT_EQ(sig::waitbar(0.6), made);
    EXPECT_EQ(bar(made), (V{0, 60, 60, 0}));
    EXPECT_EQ(rt::findobj({Value("Tag"), Value("WaitbarWindow")}).numel(), 1u);

    // Found even when its handle is hidden.
    g().set(made, "HandleVisibility", Value("off"));
    EXPECT_EQ(sig::waitbar(0.7), made);
}

TEST_F(WaitbarTest, CancelButtonOnceAndAWarningForPairsThatCannotBeSet) {
    testing::internal::CaptureStdout();
    const rt::Handle f = sig::waitbar(
        0, Value("m"),
        {Value("CreateCancelBtn"), Value("stop_it"), Value("createcancelbtn"), Value("again"),
         Value("NumberTitle"), Value(5.0), Value("Name"), Value("still set")});
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out,
              "Warning: could not set property 'createcancelbtn' with value 'again'\n"
              "Warning: could not set property 'NumberTitle' with value '5'\n");
    EXPECT_EQ(text(f, "Name"), "still set");
    EXPECT_EQ(text(f, "CloseRequestFcn"), "stop_it");

    const Value buttons = rt::findobj({Value(f), Value("Tag"), Value("WaitbarCancelButton")});
    ASSERT_EQ(buttons.numel(), 1u);
    const rt::Handle b = buttons.at(0);
    EXPECT_EQ(text(b, "String"), "Cancel");
    EXPECT_EQ(text(b, "Style"), "pushbutton");
    EXPECT_EQ(text(b, "Callback"), "stop_it");
    EXPECT_EQ(text(b, "ButtonDownFcn"), "stop_it");
    // 60 x 23 pixels, 7 points (9.33 pixels) up, its left 1.4 button widths from the right.
    const rt::Rect br = g().pixelPosition(b);
    EXPECT_NEAR(br[2], 60, 1e-9);
    EXPECT_NEAR(br[3], 23, 1e-9);
    EXPECT_NEAR(br[1], 7 * 4.0 / 3, 1e-9);
    EXPECT_NEAR(br[0], 360 - 84, 1e-9);
    // The axes moves up by the button's height and the window grows to hold the title.
    const rt::Rect a = g().pixelPosition(only("axes", f));
    EXPECT_NEAR(a[1], 22.5 + 23, 1e-9);
    EXPECT_GT(px(f)[3], 75 + 1e-9);
}

TEST_F(WaitbarTest, FailuresAndTheirMessages) {
    EXPECT_EQ(errorOf([] { sig::waitbar(0, Value("m"), {Value("Name")}); }),
              "Optional initialization arguments must be passed in pairs");
    EXPECT_EQ(text(0, "Units"), "pixels");
    EXPECT_TRUE(rt::findobj({Value("Tag"), Value("WaitbarWindow")}).isEmpty());

    const rt::Handle f = sig::waitbar(0, Value("m"));
    rt::deleteObjects(rt::findobj({Value(f), Value("Type"), Value("patch")}));
    EXPECT_EQ(errorOf([&] { sig::waitbar(0.5, f); }), "Couldn't find waitbar handles.");
    rt::close({Value(f)});
    EXPECT_EQ(errorOf([&] { sig::waitbar(0.5, f); }), "Couldn't find waitbar handles.");
}

TEST_F(WaitbarTest, ByNameFormsAndMessages) {
    rt::FunctionTable t;
    sig::register_waitbar(t);
    EXPECT_EQ(t.find("waitbar")->nin, -3);
    EXPECT_EQ(t.find("waitbar")->nout, 1);

    const rt::Values made =
        t.call("waitbar", {Value(0.1), Value("m"), Value("Name"), Value("n")}, 1);
    ASSERT_EQ(made.size(), 1u);
    const rt::Handle f = made[0].scalar();
    EXPECT_EQ(text(f, "Name"), "n");
    EXPECT_TRUE(t.call("waitbar", {Value(0.73), Value(f)}, 0).empty()) << "no output unasked";
    EXPECT_EQ(bar(f), (V{0, 73, 73, 0}));
    t.call("waitbar", {Value(0.8), Value(f), Value("weiter")}, 0);
    EXPECT_EQ(message(f), "weiter");
    EXPECT_EQ(t.call("waitbar", {Value(0.9)}, 1).at(0).scalar(), f);

    EXPECT_EQ(errorOf([&] { t.call("waitbar", {}, 0); }), "Input arguments not valid.");
    EXPECT_EQ(errorOf([&] {
                  t.call("waitbar", {Value(0.5), Value::cell(1, 1)}, 0);
              }),
              "Input arguments of type cell not valid.");
    EXPECT_EQ(errorOf([&] {
                  t.call("waitbar", {Value(0.5), Value::logical(true)}, 0);
              }),
              "Input arguments of type logical not valid.");
    EXPECT_EQ(errorOf([&] {
                  t.call("waitbar", {Value(0.5), Value()}, 0);
              }),
              "Couldn't find waitbar handles.");
    EXPECT_THAT(errorOf([&] {
                    t.call("waitbar", {Value(0.5), Value(f)}, 2);
                }),
                testing::HasSubstr("waitbar"));
}

}  // namespace
