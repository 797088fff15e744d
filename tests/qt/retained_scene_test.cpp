// The scene of each axes is kept between paints: a change rebuilds what its kind touches and
// repaints only when something drawn changed; the kept scene always equals a fresh one.

#include "qt/scene_from_model.h"
#include "qt_fixture.h"
#include "support/paint_counter.h"

namespace {

using rt::Handle;
using rt::Value;

class RetainedScene : public QtFixture {
protected:
    Handle fig = 0, ax = 0;
    std::vector<Handle> lines;
    void SetUp() override {
        QtFixture::SetUp();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        fig = figure(
            {Value("Units"), Value("pixels"), Value("Position"), Value::row({50, 50, 500, 400})});
        ax = rt::axes({Value("YLim"), Value::row({-5, 5})});
        rt::hold("on");
        for (int k = 0; k < 3; ++k)
            lines.push_back(rt::plot({Value::row({0, 1, 2}), Value::row({0, double(k), 1})}).at(0));
        rt::text({Value(1.0), Value(1.0), Value("note")});
        host->flush();
    }
    rt::SceneBuilder& scenes() { return host->scenes(); }
    const rt::AxesScene& scene() { return scenes().retained(ax, 96, 400); }
};

std::string describe(const rt::SceneItem& item) {
    std::string s;
    auto colour = [](const rt::Rgb& c) {
        return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
    };
    auto numbers = [](const rt::SceneSeries& v) {
        std::string out;
        for (double d : v) out += std::to_string(d) + " ";
        return out;
    };
    if (auto* l = std::get_if<rt::SceneLine>(&item))
        s = "line " + colour(l->color) + " " + numbers(l->x) + "/ " + numbers(l->y) +
            std::to_string(l->widthPoints);
    else if (auto* t = std::get_if<rt::SceneText>(&item))
        s = "text " + rt::utf8(t->lines.empty() ? u"" : t->lines[0]) + " " + std::to_string(t->x) +
            " " + std::to_string(t->y) + " " + colour(t->color);
    else if (auto* p = std::get_if<rt::ScenePatch>(&item))
        s = "patch " + numbers(p->x);
    else
        s = "image";
    return s;
}

void expectSameScene(const rt::AxesScene& kept, const rt::AxesScene& fresh) {
    ASSERT_EQ(kept.items.size(), fresh.items.size());
    for (std::size_t i = 0; i < kept.items.size(); ++i)
        EXPECT_EQ(describe(kept.items[i]), describe(fresh.items[i])) << i;
    EXPECT_EQ(kept.xlim[0], fresh.xlim[0]);
    EXPECT_EQ(kept.xlim[1], fresh.xlim[1]);
    EXPECT_EQ(kept.xtick, fresh.xtick);
    EXPECT_EQ(kept.box.width, fresh.box.width);
}

TEST_F(RetainedScene, ChangesRebuildWhatTheirKindTouches) {
    scene();
    const std::size_t built = scenes().itemsBuilt(), reads = scenes().dataReads();
    rt::graphics().set(lines[1], "Tag", Value("curve"));
    rt::graphics().set(lines[1], "UserData", Value::row({1, 2, 3}));
    scene();
    EXPECT_EQ(scenes().itemsBuilt(), built) << "nothing drawn changed";

    rt::graphics().set(lines[1], "Color", Value("r"));
    const auto& a = scene();
    EXPECT_EQ(scenes().itemsBuilt(), built + 1);
    EXPECT_EQ(scenes().dataReads(), reads) << "a colour needs no data";
    EXPECT_EQ(std::get<rt::SceneLine>(a.items[1]).color, (rt::Rgb{1, 0, 0}));

    rt::graphics().set(lines[2], "YData", Value::row({3, 2, 1}));
    const auto& b = scene();
    EXPECT_EQ(scenes().dataReads(), reads + 1) << "only the changed line is read";
    EXPECT_EQ(std::get<rt::SceneLine>(b.items[2]).y[0], 3);
}

TEST_F(RetainedScene, KeptSceneEqualsAFreshOne) {
    scene();
    Handle other = rt::axes({Value("Position"), Value::row({0.6, 0.6, 0.3, 0.3})});
    rt::graphics().set(lines[0], "Color", Value("g"));
    rt::graphics().set(lines[1], "XData", Value::row({5, 6, 7}));  // the limits follow
    rt::graphics().set(lines[2], "Visible", Value("off"));
    rt::graphics().set(lines[0], "Parent", Value(other));
    rt::graphics().remove(lines[1]);
    rt::graphics().set(ax, "Color", Value("y"));
    rt::text({Value("Parent"), Value(ax), Value("Position"), Value::row({2, 2}), Value("String"),
              Value("later")});
    rt::graphics().set(lines[2], "Visible", Value("on"));
    rt::graphics().set(lines[2], "YData", Value::row({1, 1, 1}));
    rt::SceneBuilder fresh(rt::graphics());
    expectSameScene(scene(), fresh.axes(ax, 96, 400));
    expectSameScene(scenes().retained(other, 96, 400), fresh.axes(other, 96, 400));
    ASSERT_EQ(scene().items.size(), 3u);  // the hidden one back, the note and the new text
}

TEST_F(RetainedScene, RepaintsOnlyWhenSomethingDrawnChanged) {
    PaintCounter counter;
    host->window(fig)->installEventFilter(&counter);
    rt::graphics().set(lines[0], "Tag", Value("quiet"));
    rt::graphics().set(ax, "UserData", Value(1.0));
    rt::graphics().set(lines[0], "ButtonDownFcn", Value("hit"));
    host->flush();
    EXPECT_EQ(counter.paints, 0);
    rt::graphics().set(lines[0], "LineWidth", Value(2.0));
    host->flush();
    EXPECT_GE(counter.paints, 1);

    // Data for the result cache outside the window draws nothing either.
    counter.paints = 0;
    const Handle cache = rt::axes({Value("Position"), Value::row({-10, -10, 0.1, 0.1})});
    host->flush();
    counter.paints = 0;
    rt::hold("on");
    for (int k = 0; k < 3; ++k) rt::plot({Value::row({0, 1}), Value::row({double(k), 2.0 * k})});
    host->flush();
    EXPECT_EQ(counter.paints, 0);
    const auto ylim = rt::graphics().get(cache, "YLim").real();  // worked out when read
    EXPECT_LE(ylim[0], 0);
    EXPECT_GE(ylim[1], 4);
    host->window(fig)->removeEventFilter(&counter);
}

}  // namespace
