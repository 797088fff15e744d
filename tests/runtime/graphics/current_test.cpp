// Current figure and current axes bookkeeping, close and delete.
#include "fixture.h"
#include "runtime/dispatch/function_table.h"

using namespace rt;
using gt::GraphicsTest;

TEST_F(GraphicsTest, CreatingMakesCurrentAndClosingRevertsToThePreviousStillExisting) {
    EXPECT_EQ(g().currentFigure(), 0.0);
    EXPECT_TRUE(get(Value(0.0), "CurrentFigure").isEmpty());
    const Handle main = figure();
    const Handle editor = figure();
    const Handle bar = figure({Value("IntegerHandle"), Value("off")});
    EXPECT_EQ(gcf(), bar);
    rt::close({Value(bar)});
    EXPECT_EQ(gcf(), editor);  // the editor, not the main window, gets the next plot
    set(Value(0.0), {Value("CurrentFigure"), Value(main)});
    EXPECT_EQ(get(Value(0.0), "CurrentFigure").scalar(), main);
    rt::close({Value(main)});
    EXPECT_EQ(gcf(), editor);
    rt::close(Values{});
    EXPECT_EQ(g().currentFigure(), 0.0);
    EXPECT_TRUE(g().figures().empty());
}

TEST_F(GraphicsTest, FigureNumbersAreSmallIntegersReusedOnlyWhenFree) {
    EXPECT_EQ(figure(), 1.0);
    EXPECT_EQ(figure(), 2.0);
    EXPECT_EQ(figure(), 3.0);
    rt::close({Value(2.0)});
    EXPECT_EQ(figure(), 2.0);
    EXPECT_EQ(figure({Value(7.0)}), 7.0);  // figure(n) creates number n
    EXPECT_EQ(figure({Value(1.0)}), 1.0);  // and selects an existing one
    EXPECT_EQ(gcf(), 1.0);
    EXPECT_THROW(figure({Value(2.5)}), Error);
}

TEST_F(GraphicsTest, GcaCreatesWhatIsMissingAndAxesCreationSetsCurrentAxes) {
    const Handle a = gca();
    const Handle f = g().parent(a);
    EXPECT_EQ(gcf(), f);
    EXPECT_EQ(gca(), a);
    const Handle b = axes({Value("Position"), Value::row({0.5, 0.5, 0.4, 0.4})});
    EXPECT_EQ(get(Value(f), "CurrentAxes").scalar(), b);
    EXPECT_EQ(gca(), b);
    axes({Value(a)});
    EXPECT_EQ(gca(), a);
    deleteObjects(Value(a));
    EXPECT_EQ(gca(), b);  // the remaining axes takes over
    deleteObjects(Value(b));
    EXPECT_TRUE(get(Value(f), "CurrentAxes").isEmpty());
    EXPECT_NE(gca(), b);  // a fresh one
}

TEST_F(GraphicsTest, CloseFormsAndTheCloseRequestHook) {
    const Handle one = figure({Value("Name"), Value("Tires")});
    const Handle two = figure({Value("CloseRequestFcn"), Value("cancel_it")});
    const Handle hiddenFig = figure({Value("HandleVisibility"), Value("off")});
    std::vector<std::pair<Handle, std::string>> ran;
    g().setCallbackRunner([&](Handle h, const std::string& p) { ran.emplace_back(h, p); });
    EXPECT_EQ(rt::close({Value("Tires")}), 1.0);
    EXPECT_FALSE(g().isValid(one));
    rt::close({Value("all")});
    EXPECT_TRUE(g().isValid(two));  // its request string ran instead
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0].first, two);
    EXPECT_EQ(ran[0].second, "CloseRequestFcn");
    EXPECT_TRUE(g().isValid(hiddenFig));  // 'all' spares hidden handles
    g().setCallbackRunner(nullptr);
    rt::close({Value("all"), Value("hidden")});
    EXPECT_TRUE(g().figures().empty());
    EXPECT_THROW(rt::close({Value(99.0)}), Error);
}

TEST_F(GraphicsTest, DeleteIsGoneForeverAndChildrenGoWithTheirParent) {
    const Handle f = figure();
    const Handle a = axes();
    const Handle l = line({Value::row({0, 1}), Value::row({0, 1})});
    const Handle c = uicontrol();
    deleteObjects(Value::row({f, a, l}));  // descendants already gone: no error
    for (Handle h : {f, a, l, c}) EXPECT_FALSE(g().isValid(h));
    EXPECT_THROW(get(Value(l), "Type"), Error);
    EXPECT_THROW(deleteObjects(Value(l)), Error);
    EXPECT_THROW(deleteObjects(Value(0.0)), Error);
    EXPECT_EQ(figure(), 1.0);
    EXPECT_NE(axes(), a);  // other handles are never handed out twice
}

TEST_F(GraphicsTest, HoldIsholdAndClo) {
    EXPECT_FALSE(ishold());
    EXPECT_TRUE(g().figures().empty());  // ishold creates nothing
    const Handle f = figure();
    uicontrol();
    plot({Value::row({1, 2}), Value::row({1, 2})});
    const Handle ax = gca();
    EXPECT_FALSE(ishold());
    plot({Value::row({1, 2}), Value::row({1, 3})});
    EXPECT_EQ(g().children(ax).size(), 1u);  // replaced
    hold("on");
    EXPECT_TRUE(ishold());
    plot({Value::row({1, 2}), Value::row({1, 4})});
    EXPECT_EQ(g().children(ax).size(), 2u);
    hold("off");
    EXPECT_FALSE(ishold());
    hold();
    EXPECT_TRUE(ishold());
    EXPECT_FALSE(isappdata(ax, "BYPASS_title"));
    clo(f);
    EXPECT_TRUE(g().children(f).empty());
    EXPECT_TRUE(g().isValid(f));
}

TEST_F(GraphicsTest, BuiltinsForCallbackStrings) {
    FunctionTable t;
    register_graphics_builtins(t);
    const Handle f = figure({Value("Tag"), Value("Editor")});
    const Values found = t.call("findobj", {Value("Tag"), Value("Editor")}, 1);
    EXPECT_EQ(found.at(0).scalar(), f);
    t.call("set", {Value(f), Value("Visible"), Value("off"), Value("UserData"), Value(0.0)}, 0);
    EXPECT_EQ(t.call("get", {Value(f), Value("Visible")}, 1).at(0).text(), "off");
    t.call("close", {Value(f)}, 0);
    EXPECT_FALSE(g().isValid(f));
    const Handle f2 = figure();
    t.call("delete", {Value(f2)}, 0);
    EXPECT_FALSE(g().isValid(f2));
    EXPECT_THROW(t.call("get", {Value(1.0), Value("Visible"), Value(3.0)}, 1), Error);
    EXPECT_THROW(t.call("get", {Value(1.0)}, 1), Error);
    EXPECT_THROW(t.call("set", {}, 0), Error);
    EXPECT_THROW(t.call("delete", {}, 0), Error);
}

TEST_F(GraphicsTest, PointerPositionReachesFigureAndAxesCurrentPoint) {
    const Handle f =
        figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 400, 200})});
    const Handle a =
        axes({Value("Units"), Value("pixels"), Value("Position"), Value::row({101, 51, 200, 100}),
              Value("XLim"), Value::row({0, 10}), Value("YLim"), Value::row({1000, 2000})});
    g().setPointerPosition(f, 150, 75);
    EXPECT_EQ(get(Value(f), "CurrentPoint").real(), (std::vector<double>{151, 76}));
    const Value cp = get(Value(a), "CurrentPoint");
    EXPECT_DOUBLE_EQ(cp.at(0), 2.5);     // (1,1): x
    EXPECT_DOUBLE_EQ(cp.at(2), 1250.0);  // (1,2): y
    set(Value(a), {Value("YDir"), Value("reverse")});
    g().setPointerPosition(f, 150, 75);
    EXPECT_DOUBLE_EQ(get(Value(a), "CurrentPoint").at(2), 1750.0);
    EXPECT_THROW(set(Value(a), {Value("CurrentPoint"), Value::zeros(2, 3)}), Error);
    EXPECT_THROW(g().setFromHost(a, "Type", Value("line")), Error);
}
