// What a view is told: one notice per change, data apart from mapping, deletions children
// first while the object can still be read.
#include <sstream>

#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

namespace {

struct Recorder : GraphicsObserver {
    std::vector<std::string> log;
    Graphics* g = nullptr;
    static std::string kind(ChangeKind k) {
        switch (k) {
            case ChangeKind::Data:
                return "data";
            case ChangeKind::Mapping:
                return "mapping";
            case ChangeKind::Style:
                return "style";
            case ChangeKind::None:
                return "none";
        }
        return "?";
    }
    std::string name(Handle h) const { return g->get(h, "Type").text(); }
    void objectCreated(Handle h) override { log.push_back("created " + name(h)); }
    void propertyChanged(Handle h, const std::string& p, ChangeKind k) override {
        log.push_back(name(h) + " " + p + " " + kind(k));
    }
    void objectDeleted(Handle h) override {
        EXPECT_TRUE(g->isValid(h));
        log.push_back("deleted " + name(h));
    }
};

}  // namespace

TEST_F(GraphicsTest, ObserversHearOncePerChange) {
    Recorder r;
    r.g = &g();
    g().addObserver(&r);
    const Handle f = figure({Value("Name"), Value("A"), Value("Visible"), Value("off")});
    EXPECT_EQ(r.log, (std::vector<std::string>{"created figure", "root CurrentFigure style"}));
    r.log.clear();

    set(Value(f), {Value("Name"), Value("A")});  // unchanged: silent
    set(Value(f), {Value("Name"), Value("B"), Value("Visible"), Value("on")});
    EXPECT_EQ(r.log, (std::vector<std::string>{"figure Name style", "figure Visible style"}));
    r.log.clear();

    const Handle a = axes({Value("XLim"), Value::row({0, 10})});
    EXPECT_EQ(r.log, (std::vector<std::string>{"created axes", "created text", "created text",
                                               "created text", "figure CurrentAxes style"}));
    r.log.clear();

    const Handle l = line({Value::row({1, 2}), Value::row({3, 4})});
    r.log.clear();
    set(Value(l), {Value("YData"), Value::row({3, 5})});
    // The line's data changed; the axes' automatic y limits re-map.
    EXPECT_EQ(r.log, (std::vector<std::string>{"line YData data", "axes YLim mapping"}));
    r.log.clear();
    set(Value(a), {Value("XLim"), Value::row({0, 20})});
    EXPECT_EQ(r.log, (std::vector<std::string>{"axes XLim mapping"}));  // mode already manual
    r.log.clear();

    deleteObjects(Value(f));
    ASSERT_EQ(r.log.size(), 7u);
    EXPECT_EQ(r.log.front(), "deleted line");
    EXPECT_EQ(r.log[4], "deleted axes");
    EXPECT_EQ(r.log[5], "deleted figure");
    EXPECT_EQ(r.log[6], "root CurrentFigure style");
    g().removeObserver(&r);
}

TEST_F(GraphicsTest, WritingBackWhatWasReadIsNoChange) {
    Recorder r;
    r.g = &g();
    figure();
    const Handle img = image({Value("CData"), Value::matrix(2, 2, {1, NAN, 3, 4})});
    g().addObserver(&r);
    // The eraser's read and write-back of an image with gaps: the same value, so silent.
    g().set(img, "CData", g().get(img, "CData"));
    EXPECT_TRUE(r.log.empty());
    Value c = g().get(img, "CData");
    c.re()[0] = 2;
    g().set(img, "CData", c);
    ASSERT_FALSE(r.log.empty());
    EXPECT_EQ(r.log[0], "image CData data");
    EXPECT_EQ(g().get(img, "CData").at(0), 2.0);
    g().removeObserver(&r);
}

TEST_F(GraphicsTest, ChangesThatDrawNothingSaySo) {
    const Handle f = figure();
    const Handle c = uicontrol({Value("Style"), Value("edit")});
    const Handle a = axes();
    const Handle l = line({Value::row({1, 2}), Value::row({3, 4})});
    Recorder r;
    r.g = &g();
    g().addObserver(&r);
    set(Value(l), {Value("Tag"), Value("run"), Value("UserData"), Value(7.0),
                   Value("ButtonDownFcn"), Value("x")});
    set(Value(c), {Value("Callback"), Value("go"), Value("String"), Value("1.5")});
    set(Value(f), {Value("PaperType"), Value("a4"), Value("Color"), Value("w")});
    g().setPointerPosition(f, 10, 10);
    set(Value(a), {Value("YDir"), Value("reverse")});
    set(Value(0.0), {Value("Units"), Value("points")});
    EXPECT_EQ(r.log, (std::vector<std::string>{
                         "line Tag none", "line UserData none", "line ButtonDownFcn none",
                         "uicontrol Callback none", "uicontrol String data",
                         "figure PaperType none", "figure Color style", "figure CurrentPoint none",
                         "axes CurrentPoint none", "axes YDir mapping", "root Units none"}));
    g().removeObserver(&r);
}
