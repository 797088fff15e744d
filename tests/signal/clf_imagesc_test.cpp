#include <algorithm>

#include "fixture.h"
#include "runtime/dispatch/function_table.h"
#include "signal/clf.h"
#include "signal/imagesc.h"

namespace {

using ph::errorOf;
using rt::Value;
using V = std::vector<double>;

class ImagescTest : public ph::PlotTest {
protected:
    // 100 x 200 with values from -3 to 17.
    static Value sample() {
        std::vector<double> d(100 * 200);
        for (std::size_t i = 0; i < d.size(); ++i)
            d[i] = -3 + 20.0 * double(i) / double(d.size() - 1);
        return Value::matrix(100, 200, d);
    }
};

TEST_F(ImagescTest, ScalesToTheDataRangeWithoutRange) {
    const Value x = Value::row({0.1, 0.2}), y = Value::row({1000, 9000});
    const rt::Handle h = sig::imagesc({x, y, sample()});
    const rt::Handle ax = rt::gca();
    EXPECT_EQ(text(h, "CDataMapping"), "scaled");
    EXPECT_EQ(text(ax, "CLimMode"), "auto");
    EXPECT_EQ(vec(ax, "CLim"), (V{-3, 17}));
    EXPECT_EQ(vec(h, "XData"), (V{0.1, 0.2}));
    EXPECT_EQ(g().get(h, "CData").rows(), 100u);

    // A fresh draw after a manual range goes back to the data's.
    g().set(ax, "CLim", Value::row({0, 1}));
    sig::imagesc({sample()});
    EXPECT_EQ(text(ax, "CLimMode"), "auto");
    EXPECT_EQ(vec(ax, "CLim"), (V{-3, 17}));
}

TEST_F(ImagescTest, TrailingRangeVersusTrailingPropertyValue) {
    const rt::Handle ax = rt::gca();
    const struct {
        rt::Values extra;
        V clim;
        V xdata;
    } cases[] = {
        {{Value::row({0, 1})}, {0, 1}, {1, 200}},
        {{Value("XData"), Value::row({1, 2})}, {-3, 17}, {1, 2}},
        {{Value("XData"), Value::row({1, 2}), Value::row({-1, 4})}, {-1, 4}, {1, 2}},
    };
    for (const auto& c : cases) {
        rt::Values args{sample()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const rt::Handle h = sig::imagesc(args);
        EXPECT_EQ(vec(ax, "CLim"), c.clim) << c.extra.size();
        EXPECT_EQ(vec(h, "XData"), c.xdata) << c.extra.size();
    }
    EXPECT_EQ(text(ax, "CLimMode"), "manual");
}

TEST_F(ImagescTest, HoldKeepsAManualRangeAndBadRangesFail) {
    const rt::Handle ax = rt::gca();
    g().set(ax, "CLim", Value::row({0, 5}));
    rt::hold("on");
    sig::imagesc({sample()});
    EXPECT_EQ(text(ax, "CLimMode"), "manual");
    EXPECT_EQ(vec(ax, "CLim"), (V{0, 5}));
    EXPECT_FALSE(errorOf([&] { sig::imagesc({sample(), Value::row({1, 1})}); }).empty());
}

TEST_F(ImagescTest, NoInputGivesTheDefaultImage) {
    const rt::Handle h = sig::imagesc();
    EXPECT_EQ(text(h, "CDataMapping"), "scaled");
    EXPECT_FALSE(g().get(h, "CData").isEmpty());
}

TEST_F(ImagescTest, ByNameEntry) {
    rt::FunctionTable t;
    sig::register_imagesc(t);
    EXPECT_EQ(t.find("imagesc")->nin, -1);
    EXPECT_EQ(t.find("imagesc")->nout, 1);
    EXPECT_TRUE(t.call("imagesc", {sample()}, 0).empty());
    const rt::Handle h = t.call("imagesc", {sample(), Value::row({2, 3})}, 1).at(0).scalar();
    EXPECT_EQ(text(h, "Type"), "image");
    EXPECT_EQ(vec(rt::gca(), "CLim"), (V{2, 3}));
}

class ClfTest : public ph::PlotTest {};

TEST_F(ClfTest, LeavesAnEmptyOpenWindow) {
    const rt::Handle f = rt::figure({Value("Name"), Value("Editor")});
    rt::uicontrol({Value("Style"), Value("edit")});
    rt::axes();
    rt::plot({Value::row({1, 2, 3})});
    ASSERT_EQ(g().children(f).size(), 2u);
    EXPECT_EQ(sig::clf(), f);
    EXPECT_TRUE(g().isValid(f));
    EXPECT_TRUE(g().children(f).empty());
    EXPECT_EQ(text(f, "Name"), "Editor");
    EXPECT_EQ(rt::gcf(), f);
}

TEST_F(ClfTest, VisibilityOfChildrenAndOptions) {
    const rt::Handle f = rt::figure();
    const rt::Handle hidden = rt::uicontrol({Value("HandleVisibility"), Value("off")});
    rt::uicontrol();
    sig::clf();
    EXPECT_EQ(g().children(f), std::vector<rt::Handle>{hidden});
    sig::clf({Value("hidden")});
    EXPECT_TRUE(g().children(f).empty());
    EXPECT_FALSE(errorOf([] { sig::clf({Value("sideways")}); }).empty());
}

TEST_F(ClfTest, ByNameEntryAndAFigureWhenThereIsNone) {
    rt::FunctionTable t;
    sig::register_clf(t);
    EXPECT_EQ(t.find("clf")->nin, -1);
    EXPECT_EQ(t.find("clf")->nout, 1);
    EXPECT_TRUE(t.call("clf", {}, 0).empty());
    ASSERT_EQ(g().figures().size(), 1u);
    EXPECT_EQ(t.call("clf", {}, 1).at(0).scalar(), g().figures()[0]);
}

}  // namespace
