// The rules every property follows: names without regard to case, enumerations by unique
// prefix, colours by letter, errors for what cannot be set.
#include "fixture.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, NamesIgnoreCase) {
    const Handle f = figure();
    const Handle b = uicontrol({Value("Style"), Value("push"), Value("CallBack"), Value("go")});
    EXPECT_EQ(get(Value(b), "Callback").text(), "go");
    set(Value(b), {Value("string"), Value("Hello"), Value("fontsize"), Value(12.0),
                   Value("FONTWEIGHT"), Value("bold")});
    EXPECT_EQ(get(Value(b), "String").text(), "Hello");
    EXPECT_EQ(get(Value(b), "FontSize").scalar(), 12.0);
    EXPECT_EQ(get(Value(b), "fontWeight").text(), "bold");
    EXPECT_EQ(get(Value(f), "TYPE").text(), "figure");
}

TEST_F(GraphicsTest, EnumerationsTakeUniquePrefixesWithoutRegardToCase) {
    figure();
    struct Case {
        const char* property;
        const char* given;
        const char* stored;
    } cases[] = {{"Style", "Push", "pushbutton"},   {"Style", "push", "pushbutton"},
                 {"Style", "ListBox", "listbox"},   {"Style", "popup", "popupmenu"},
                 {"Style", "text", "text"},         {"Style", "CheckBox", "checkbox"},
                 {"Units", "Pixel", "pixels"},      {"Units", "Points", "points"},
                 {"Units", "normal", "normalized"}, {"HorizontalAlignment", "Right", "right"},
                 {"Enable", "inact", "inactive"}};
    const Handle b = uicontrol();
    for (const auto& c : cases) {
        set(Value(b), {Value(c.property), Value(c.given)});
        EXPECT_EQ(get(Value(b), c.property).text(), c.stored) << c.property << " " << c.given;
    }
    const Handle f = gcf();
    set(Value(f), {Value("PaperType"), Value("a4letter")});
    EXPECT_EQ(get(Value(f), "PaperType").text(), "a4letter");
    set(Value(f), {Value("PaperType"), Value("A4")});  // exact word beats the longer one
    EXPECT_EQ(get(Value(f), "PaperType").text(), "a4");
    const Handle l = plot({Value::row({1, 2}), Value::row({1, 2})})[0];
    set(Value(l), {Value("LineStyle"), Value("-")});  // "-" is itself a word, not a prefix
    EXPECT_EQ(get(Value(l), "LineStyle").text(), "-");
}

TEST_F(GraphicsTest, InvalidNamesAndValuesAreErrors) {
    const Handle f = figure();
    const Handle b = uicontrol();
    const Handle a = axes();
    struct Case {
        Handle h;
        const char* property;
        Value value;
    } cases[] = {
        {b, "Colour", Value("r")},                      // no such property
        {b, "Style", Value("p")},                       // pushbutton or popupmenu
        {b, "Style", Value("slide rule")},              // no such style
        {b, "Style", Value(1.0)},                       // not a text
        {b, "BackgroundColor", Value("q")},             // no such colour letter
        {b, "BackgroundColor", Value::row({0, 0, 2})},  // outside [0, 1]
        {b, "BackgroundColor", Value("none")},          // only some colours may be none
        {b, "Position", Value::row({1, 2, 3})},         // four numbers needed
        {a, "XLim", Value::row({1, 1})},                // lower = upper is refused
        {a, "YLim", Value::row({2, 1})},                // lower > upper is refused
        {a, "XLim", Value(1.0)},
        {f, "Type", Value("axes")},                   // read-only
        {f, "Children", Value()},                     // read-only
        {0, "ScreenSize", Value::row({1, 1, 2, 2})},  // read-only
        {f, "NumberTitle", Value("maybe")},
        {f, "FontSize", Value(10.0)},  // figures have no font
    };
    for (const auto& c : cases)
        EXPECT_THROW(set(Value(c.h), {Value(c.property), c.value}), Error) << c.property;
    EXPECT_THROW(get(Value(b), "Nonsense"), Error);
    EXPECT_THROW(set(Value(b), {Value("String")}), Error);  // a name without value
    EXPECT_THROW(uicontrol({Value("Style"), Value("wheel")}), Error);
    EXPECT_EQ(g().children(f).size(), 2u);  // the failed creation left nothing behind
}

TEST_F(GraphicsTest, ColoursByLetterNameOrTriple) {
    figure();
    const Handle b = uicontrol();
    struct Case {
        Value given;
        std::vector<double> rgb;
    } cases[] = {{Value("w"), {1, 1, 1}},
                 {Value("k"), {0, 0, 0}},
                 {Value("r"), {1, 0, 0}},
                 {Value("Blue"), {0, 0, 1}},
                 {Value::row({0.2, 0.4, 0.6}), {0.2, 0.4, 0.6}},
                 {Value::column({0, 0, 1}), {0, 0, 1}}};
    for (const auto& c : cases) {
        set(Value(b), {Value("BackgroundColor"), c.given});
        const Value v = get(Value(b), "BackgroundColor");
        EXPECT_EQ(v.rows(), 1u);
        EXPECT_EQ(v.real(), c.rgb);
    }
    const Handle a = axes({Value("Color"), Value("none")});
    EXPECT_EQ(get(Value(a), "Color").text(), "none");
    const Handle p = patch({Value::row({0, 1, 1}), Value::row({0, 0, 1}), Value("r")});
    EXPECT_EQ(get(Value(p), "FaceColor").real(), (std::vector<double>{1, 0, 0}));
    set(Value(p), {Value("EdgeColor"), Value("none")});
    EXPECT_EQ(get(Value(p), "EdgeColor").text(), "none");
}

TEST_F(GraphicsTest, UserDataHoldsAnyValue) {
    const Handle f = figure();
    Value record = Value::structure();
    record.setField("n", Value(3.0));
    const Value values[] = {Value(1.0), Value::charMatrix(std::vector<std::string>{"ab", "c"}),
                            Value(),    Value::cell(1, 2, {Value("x"), Value(2.0)}),
                            record,     Value::uint8({1, 2}, {7, 8})};
    for (const Value& v : values) {
        set(Value(f), {Value("UserData"), v});
        EXPECT_TRUE(get(Value(f), "UserData").equals(v));
    }
}

TEST_F(GraphicsTest, ListStringsKeepTheirPaddingAndValueMayOutrunTheList) {
    figure();
    const Value list = Value::charMatrix(std::vector<std::string>{"Alternator", "Wheel", "Off"});
    const Handle p = uicontrol(
        {Value("Style"), Value("popupmenu"), Value("String"), list, Value("Value"), Value(3.0)});
    const Value back = get(Value(p), "String");
    EXPECT_TRUE(back.equals(list));
    EXPECT_EQ(back.rowText(1), u"Wheel     ");
    // A shorter list first, then the row: neither step may fail.
    set(Value(p), {Value("String"), Value::charMatrix(std::vector<std::string>{"One"})});
    set(Value(p), {Value("Value"), Value(1.0)});
    EXPECT_EQ(get(Value(p), "Value").scalar(), 1.0);
}

TEST_F(GraphicsTest, HandValuesFixModesAndAutoLimitsFollowData) {
    figure();
    const Handle a = axes();
    EXPECT_EQ(get(Value(a), "XLimMode").text(), "auto");
    const Handle l = line({Value::row({2, 4, 8}), Value::row({-1, 0, 3})});
    EXPECT_EQ(get(Value(a), "XLim").real(), (std::vector<double>{2, 8}));
    EXPECT_EQ(get(Value(a), "YLim").real(), (std::vector<double>{-1, 3}));
    set(Value(a), {Value("XLim"), Value::row({0, 100})});
    EXPECT_EQ(get(Value(a), "XLimMode").text(), "manual");
    set(Value(l), {Value("XData"), Value::row({1, 2, 3})});
    EXPECT_EQ(get(Value(a), "XLim").real(), (std::vector<double>{0, 100}));
    set(Value(a), {Value("XTick"), Value()});
    EXPECT_EQ(get(Value(a), "XTickMode").text(), "manual");
}

TEST_F(GraphicsTest, LineDataComeBackBitExact) {
    figure();
    std::vector<double> x(5000), y(5000);
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = 0.1 * double(i) + 1e-13;
        y[i] = std::sqrt(double(i)) / 3.0;
    }
    y[17] = std::nan("");
    const Handle l = plot({Value::column(x), Value::column(y), Value("Tag"), Value("cache")})[0];
    EXPECT_EQ(get(Value(l), "XData").real(), x);
    const auto yy = get(Value(l), "YData").real();
    EXPECT_TRUE(std::isnan(yy[17]));
    EXPECT_EQ(yy[18], y[18]);
    EXPECT_EQ(get(Value(l), "XData").rows(), 1u);  // line data are rows
}

TEST_F(GraphicsTest, EveryHandSetValueFixesItsModeAndOnlyThat) {
    figure();
    const Handle a = axes();
    const struct {
        const char* property;
        const char* mode;
        Value value;
    } cases[] = {{"XLim", "XLimMode", Value::row({0, 2})},
                 {"YLim", "YLimMode", Value::row({0, 2})},
                 {"ZLim", "ZLimMode", Value::row({0, 2})},
                 {"CLim", "CLimMode", Value::row({0, 2})},
                 {"XTick", "XTickMode", Value::row({0, 1})},
                 {"YTick", "YTickMode", Value::row({0, 1})},
                 {"XTickLabel", "XTickLabelMode", Value("a")},
                 {"YTickLabel", "YTickLabelMode", Value("a")},
                 {"DataAspectRatio", "DataAspectRatioMode", Value::row({1, 1, 1})},
                 {"PlotBoxAspectRatio", "PlotBoxAspectRatioMode", Value::row({1, 1, 1})}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.property);
        set(Value(a), {Value(c.mode), Value("auto")});
        set(Value(a), {Value(c.property), c.value});
        for (const auto& other : cases)
            EXPECT_EQ(get(Value(a), other.mode).text(), &other == &c ? "manual" : "auto")
                << other.mode;
        set(Value(a), {Value(c.mode), Value("auto")});
    }
}

TEST_F(GraphicsTest, WhoMayWriteAPropertyAndItsDefault) {
    const Handle f = figure();
    EXPECT_THROW(set(Value(f), {Value("CurrentPoint"), Value::row({1, 2})}), Error);
    g().setFromHost(f, "CurrentPoint", Value::row({1, 2}));
    EXPECT_EQ(get(Value(f), "CurrentPoint").real(), (std::vector<double>{1, 2}));
    EXPECT_THROW(g().setFromHost(f, "Children", Value()), Error);
    EXPECT_THROW(g().setFromHost(0, "Parent", Value(1.0)), Error);
    for (const char* name : {"DefaultFigureCurrentPoint", "DefaultAxesType", "DefaultLineParent",
                             "DefaultTextExtent", "DefaultRootTag"})
        EXPECT_THROW(set(Value(0.0), {Value(name), Value(1.0)}), Error) << name;
    set(Value(0.0), {Value("DefaultLineTag"), Value("x")});
    EXPECT_EQ(get(Value(f), "DefaultLineTag").text(), "x");
}

TEST_F(GraphicsTest, DataOfEveryDrawingChildSetsItsAxesLimits) {
    figure();
    const Handle a = axes();
    const Handle b = axes();
    const Handle l = line({Value::row({0, 1}), Value::row({0, 1}), Value("Parent"), Value(a)});
    const Handle p = patch({Value("Parent"), Value(a), Value("XData"), Value::row({0, 1, 1}),
                            Value("YData"), Value::row({0, 0, 1})});
    set(Value(p), {Value("YData"), Value::row({0, 0, 5})});
    EXPECT_EQ(get(Value(a), "YLim").real(), (std::vector<double>{0, 5}));
    set(Value(p), {Value("Parent"), Value(b)});
    EXPECT_EQ(get(Value(a), "YLim").real(), (std::vector<double>{0, 1})) << "the old axes";
    EXPECT_EQ(get(Value(b), "YLim").real(), (std::vector<double>{0, 5})) << "the new axes";
    set(Value(l), {Value("Color"), Value("r"), Value("XData"), Value::row({-2, 1})});
    EXPECT_EQ(get(Value(a), "XLim").real(), (std::vector<double>{-2, 1}));
}
