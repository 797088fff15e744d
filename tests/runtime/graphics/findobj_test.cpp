// Every form of findobj, with results newest first in depth-first order.
#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

namespace {

std::vector<double> found(const Values& args) { return findobj(args).real(); }

}  // namespace

class FindobjTest : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        main = figure({Value("Name"), Value("Main"), Value("Tag"), Value("Main Figure")});
        frame = uicontrol({Value("Style"), Value("frame"), Value("Tag"), Value("box")});
        check1 = uicontrol({Value("Style"), Value("checkbox"), Value("Value"), Value(1.0),
                            Value("Tag"), Value("c1")});
        check2 = uicontrol({Value("Style"), Value("checkbox"), Value("Value"), Value(0.0)});
        edit = uicontrol({Value("Style"), Value("edit"), Value("Enable"), Value("off"),
                          Value("Tag"), Value("box")});
        ax = axes({Value("Tag"), Value("DiagAxes")});
        hold("on");
        curve = plot({Value::row({1, 2}), Value::row({3, 4}), Value("k")})[0];
        dots = plot({Value::row({1, 2}), Value::row({3, 4}), Value(".")})[0];
        hidden = plot({Value::row({1, 2}), Value::row({3, 4}), Value("Visible"), Value("off")})[0];
        t = text({Value(1.0), Value(2.0), Value("NOT FOR SALE"), Value("Tag"), Value("box")});
        other = figure({Value("Name"), Value("Other"), Value("Tag"), Value("box")});
        waitbar = figure({Value("Tag"), Value("WaitbarWindow"), Value("IntegerHandle"),
                          Value("off"), Value("HandleVisibility"), Value("off")});
    }
    Handle main, frame, check1, check2, edit, ax, curve, dots, hidden, t, other, waitbar;
};

TEST_F(FindobjTest, ByTagOverTheWholeTreeNewestFirst) {
    // Newest figure first; inside Main, the text (under the newest axes) before the older
    // controls, which come newest first.
    EXPECT_EQ(found({Value("Tag"), Value("box")}), (std::vector<double>{other, t, edit, frame}));
    EXPECT_EQ(found({Value("Tag"), Value("Box")}), std::vector<double>{});  // texts are exact
    EXPECT_EQ(found({Value("Tag"), Value("nothing")}), std::vector<double>{});
    EXPECT_TRUE(findobj({Value("Tag"), Value("nothing")}).isEmpty());
}

TEST_F(FindobjTest, ByNameAndByType) {
    EXPECT_EQ(found({Value("Name"), Value("Main")}), std::vector<double>{main});
    EXPECT_EQ(found({Value(main), Value("Type"), Value("Uicontrol")}),
              (std::vector<double>{edit, check2, check1, frame}));
    EXPECT_EQ(found({Value(main), Value("Type"), Value("axes")}), std::vector<double>{ax});
    EXPECT_EQ(found({Value(ax), Value("Type"), Value("line"), Value("Visible"), Value("on")}),
              (std::vector<double>{dots, curve}));
    EXPECT_EQ(found({Value(ax), Value("Type"), Value("line"), Value("Visible"), Value("on"),
                     Value("Marker"), Value("none")}),
              std::vector<double>{curve});
}

TEST_F(FindobjTest, ObjectsLackingThePropertyDoNotMatch) {
    // Among (and below) the window's children: axes, lines and texts have no Enable.
    const Value kids = get(Value(main), "Children");
    EXPECT_EQ(found({kids, Value("Enable"), Value("on")}),
              (std::vector<double>{check2, check1, frame}));
    EXPECT_EQ(found({Value(main), Value("Style"), Value("checkbox"), Value("Value"), Value(1.0)}),
              std::vector<double>{check1});
}

TEST_F(FindobjTest, FlatSearchesOnlyTheGivenHandlesAndAllchildShowsHiddenOnes) {
    EXPECT_EQ(found({Value("Tag"), Value("WaitbarWindow")}), std::vector<double>{});  // hidden
    const Value all = allchild(Value(0.0));
    EXPECT_EQ(all.real(), (std::vector<double>{waitbar, other, main}));
    EXPECT_EQ(found({all, Value("flat"), Value("Tag"), Value("WaitbarWindow")}),
              std::vector<double>{waitbar});
    EXPECT_EQ(found({all, Value("flat"), Value("Tag"), Value("box")}), std::vector<double>{other});
    EXPECT_NE(waitbar, std::floor(waitbar));  // IntegerHandle off
}

TEST_F(FindobjTest, StartHandleIncludedAndSubtreeOnly) {
    EXPECT_EQ(found({Value(ax)}), (std::vector<double>{ax, t, hidden, dots, curve}));
    EXPECT_EQ(found({Value(ax), Value("Tag"), Value("box")}), std::vector<double>{t});
    EXPECT_EQ(found({Value(other), Value("Tag"), Value("box")}), std::vector<double>{other});
    EXPECT_EQ(found({Value()}), std::vector<double>{});
}

TEST_F(FindobjTest, ResultFeedsSetGetAndDelete) {
    const Value none = findobj({Value("Tag"), Value("missing")});
    set(none, {Value("Visible"), Value("off")});  // no-op
    deleteObjects(none);                          // no-op
    EXPECT_TRUE(get(none, "Visible").isEmpty());
    // As the argument of a callback-string call: the Tag index follows later changes.
    set(Value(curve), {Value("Tag"), Value("DiagAxes")});
    EXPECT_EQ(found({Value("Tag"), Value("DiagAxes")}), (std::vector<double>{ax, curve}));
    deleteObjects(findobj({Value("Tag"), Value("DiagAxes")}));
    EXPECT_FALSE(g().isValid(curve));
    EXPECT_EQ(found({Value("Tag"), Value("DiagAxes")}), std::vector<double>{});
}

TEST_F(FindobjTest, ColourAndNumberCriteria) {
    EXPECT_EQ(found({Value(ax), Value("Color"), Value("k"), Value("Marker"), Value("none")}),
              std::vector<double>{curve});
    EXPECT_EQ(found({Value(main), Value("Value"), Value(0.0), Value("Style"), Value("check")}),
              std::vector<double>{check2});
    EXPECT_THROW(findobj({Value("Tag")}), Error);
    EXPECT_THROW(findobj({Value(12345.5), Value("Tag"), Value("x")}), Error);
}
