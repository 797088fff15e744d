// The seven control styles as the user meets them: callbacks on user action only, input
// written back before the callback, inactive controls, pointers and resizing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "qt_fixture.h"
#include "runtime/image_io.h"

namespace {

using rt::Value;
using rt::Values;

class Controls : public QtFixture {};

TEST_F(Controls, ButtonCallbackRunsOnClickAndNeverOnSet) {
    rt::Handle fig = figure();
    rt::Handle b =
        control(fig, "push", {Value("String"), Value("Go"), Value("Callback"), Value("hit")});
    QWidget* w = widget(b);
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w, Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"hit"}));
    rt::set(Value(b), {Value("Value"), Value(1.0), Value("String"), Value("Again")});
    rt::set(Value(b), {Value("CallBack"), Value("hit;hit")});
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(static_cast<QPushButton*>(w)->text(), "Again");
    QTest::mouseClick(w, Qt::LeftButton);
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(Controls, PopupSelectionSetsValueThenRunsTheCallback) {
    rt::Handle fig = figure();
    Value rows = Value::charMatrix(std::vector<std::string>{"Lima", "Drehzahl", "Aus"});
    rt::Handle p = control(fig, "popupmenu", {Value("String"), rows, Value("Value"), Value(1.0)});
    rt::set(Value(p), {Value("Callback"), Value("probe(" + std::to_string(p) + ")")});
    auto* combo = qobject_cast<QComboBox*>(widget(p));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "Lima");  // padding trimmed for display only
    EXPECT_EQ(rt::get(Value(p), "String").rowText(0), u"Lima    ");

    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("probe 2.000000 ", 0), 0u) << calls[0];
    EXPECT_EQ(rt::get(Value(p), "Value").scalar(), 2);

    // A program's own changes run nothing; a shorter list under an old Value is fine.
    rt::set(Value(p), {Value("Value"), Value(3.0)});
    EXPECT_EQ(combo->currentIndex(), 2);
    rt::set(Value(p), {Value("String"), Value::charMatrix(std::vector<std::string>{"a", "b"})});
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1);
    rt::set(Value(p), {Value("Value"), Value(1.0)});
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Controls, AnEmptyTextOfBillionsOfRowsShowsAsNothing) {
    rt::Handle fig = figure();
    rt::Handle e = control(fig, "edit", {Value("String"), Value("200")});
    rt::Handle l = control(fig, "listbox", {Value("String"), Value("a")});
    rt::set(Value(e), {Value("String"), Value::chars(4294967295u, 0, u"")});
    rt::set(Value(l), {Value("String"), Value::chars(4294967295u, 0, u"")});
    EXPECT_EQ(qobject_cast<QLineEdit*>(widget(e))->text(), "");
    EXPECT_EQ(qobject_cast<QListWidget*>(widget(l))->count(), 0);
    rt::set(Value(l), {Value("String"), Value::chars(3, 0, u"")});
    EXPECT_EQ(qobject_cast<QListWidget*>(widget(l))->count(), 3);
}

TEST_F(Controls, CheckboxEditAndListboxWriteTheUsersInputBackFirst) {
    rt::Handle fig = figure();
    rt::Handle c = control(fig, "checkbox", {Value("String"), Value("cut")});
    rt::Handle e = control(fig, "edit", {Value("String"), Value("200")});
    rt::Handle l =
        control(fig, "ListBox",
                {Value("String"), Value::charMatrix(std::vector<std::string>{"r1", "r2", "r3"}),
                 Value("Value"), Value(1.0)});
    for (rt::Handle h : {c, e, l})
        rt::set(Value(h), {Value("Callback"), Value("probe(" + std::to_string(h) + ")")});

    QTest::mouseClick(widget(c), Qt::LeftButton, {}, QPoint(5, widget(c)->height() / 2));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("probe 1.000000 cut", 0), 0u) << calls[0];

    auto* edit = qobject_cast<QLineEdit*>(widget(e));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12,5");
    EXPECT_EQ(calls.size(), 1u);  // nothing before the edit is finished
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_NE(calls[1].find(" 12,5 "), std::string::npos) << calls[1];
    EXPECT_EQ(rt::get(Value(e), "String").text(), "12,5");

    auto* list = qobject_cast<QListWidget*>(widget(l));
    ASSERT_NE(list, nullptr);
    QRect third = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, third.center());
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].rfind("probe 3.000000", 0), 0u) << calls[2];

    rt::set(Value(l), {Value("Value"), Value(2.0)});
    rt::set(Value(c), {Value("Value"), Value(0.0)});
    rt::set(Value(e), {Value("String"), Value("7")});
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_FALSE(qobject_cast<QCheckBox*>(widget(c))->isChecked());
    EXPECT_EQ(edit->text(), "7");
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(Controls, InactiveControlsLookEnabledAndIgnoreInput) {
    rt::Handle fig = figure();
    rt::Handle b = control(fig, "pushbutton", {Value("Callback"), Value("hit")});
    rt::Handle c = control(fig, "checkbox", {Value("Callback"), Value("hit")});
    rt::Handle e =
        control(fig, "edit", {Value("Callback"), Value("hit"), Value("String"), Value("1")});
    EXPECT_EQ(rt::findobj({Value(fig), Value("Enable"), Value("on")}).numel(), 3u);
    rt::set(Value::row({b, c, e}), {Value("Enable"), Value("inactive")});
    for (rt::Handle h : {b, c, e}) EXPECT_TRUE(widget(h)->isEnabled());
    QTest::mouseClick(widget(b), Qt::LeftButton);
    QTest::mouseClick(widget(c), Qt::LeftButton, {}, QPoint(5, widget(c)->height() / 2));
    QTest::keyClicks(widget(e), "99");
    QTest::keyClick(widget(e), Qt::Key_Return);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(rt::get(Value(c), "Value").scalar(), 0);
    EXPECT_EQ(rt::get(Value(e), "String").text(), "1");

    rt::set(Value(b), {Value("Enable"), Value("off")});
    EXPECT_FALSE(widget(b)->isEnabled());
    rt::set(Value::row({b, c}), {Value("Enable"), Value("on")});
    QTest::mouseClick(widget(b), Qt::LeftButton);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(Controls, ClicksQueuedWhileBusyAreSwallowedWhenTheControlsComeBack) {
    rt::Handle fig = figure();
    rt::Handle calc = control(fig, "pushbutton", {Value("Callback"), Value("hit")});
    table.add("evaluate", 0, 0, [&](const Values&, int) {
        calls.push_back("evaluate");
        rt::set(Value(calc), {Value("Enable"), Value("inactive")});
        // The user clicks again while the evaluation runs without serving events.
        QWidget* w = widget(calc);
        const QPointF at(w->width() / 2, w->height() / 2);
        QCoreApplication::postEvent(
            w, new QMouseEvent(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                               Qt::LeftButton, {}));
        QCoreApplication::postEvent(
            w, new QMouseEvent(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                               Qt::NoButton, {}));
        rt::set(Value(calc), {Value("Enable"), Value("on")});
        return Values{};
    });
    rt::Handle start = control(fig, "pushbutton", {Value("Callback"), Value("evaluate")});
    QTest::mouseClick(widget(start), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"evaluate"}));
    QTest::mouseClick(widget(calc), Qt::LeftButton);
    EXPECT_EQ(calls.back(), "hit");
}

TEST_F(Controls, AClickMakesItsFigureCurrent) {
    rt::Handle first = figure();
    rt::Handle b = control(first, "pushbutton", {});
    rt::set(Value(b), {Value("Callback"), Value("probe(" + std::to_string(b) + ")")});
    rt::Handle second = figure();
    ASSERT_EQ(rt::graphics().currentFigure(), second);
    QTest::mouseClick(widget(b), Qt::LeftButton);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_NE(calls[0].find("gcf " + std::to_string(first)), std::string::npos) << calls[0];
    QTest::mouseClick(host->window(second), Qt::LeftButton);
    EXPECT_EQ(rt::graphics().currentFigure(), second);
}

TEST_F(Controls, VisibilityPointerAndColoursFollowTheModelAtOnce) {
    rt::Handle fig = figure({Value("Name"), Value("Haupt"), Value("NumberTitle"), Value("off")});
    rt::FigureWindow* win = host->window(fig);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->windowTitle(), "Haupt");
    rt::Handle b =
        control(fig, "pushbutton",
                {Value("BackgroundColor"), Value::row({0, 0, 1}), Value("ForegroundColor"),
                 Value("w"), Value("HorizontalAlignment"), Value("right")});
    EXPECT_NE(widget(b)->styleSheet().indexOf("background-color: #0000ff"), -1);
    EXPECT_NE(widget(b)->styleSheet().indexOf("color: #ffffff"), -1);
    EXPECT_NE(widget(b)->styleSheet().indexOf("text-align: right"), -1);

    rt::set(Value(fig), {Value("Pointer"), Value("watch")});
    EXPECT_EQ(win->cursor().shape(), Qt::WaitCursor);
    rt::set(Value(fig), {Value("Pointer"), Value("arrow")});
    EXPECT_EQ(win->cursor().shape(), Qt::ArrowCursor);

    rt::set(Value(b), {Value("Visible"), Value("off")});
    EXPECT_FALSE(widget(b)->isVisible());
    rt::set(Value(fig), {Value("Visible"), Value("off")});
    EXPECT_FALSE(win->isVisible());
    EXPECT_TRUE(rt::graphics().isValid(fig));  // a hidden figure still exists
}

TEST_F(Controls, NormalizedControlsFollowAWindowResize) {
    rt::Handle fig = figure({Value("Position"), Value::row({100, 100, 400, 200})});
    rt::Handle b =
        control(fig, "pushbutton", {Value("Position"), Value::row({0.5, 0.5, 0.25, 0.25})});
    rt::FigureWindow* win = host->window(fig);
    EXPECT_EQ(win->size(), QSize(400, 200));
    EXPECT_EQ(widget(b)->geometry(), QRect(200, 50, 100, 50));
    win->resize(800, 400);  // as the user would
    EXPECT_EQ(widget(b)->geometry(), QRect(400, 100, 200, 100));
    Value pos = rt::get(Value(fig), "Position");
    EXPECT_EQ(pos.at(2), 800);
    EXPECT_EQ(pos.at(3), 400);
    EXPECT_EQ(rt::get(Value(b), "Position").at(2), 0.25);
}

// Every style in one window, drawn offscreen: the colours set in the model reach the pixels.
// ROVANTEL_GRAB_DIR keeps the picture for a look.
TEST_F(Controls, AWindowWithEveryStyleDrawsItsColours) {
    rt::Handle fig = figure({Value("Position"), Value::row({50, 50, 420, 300}), Value("Name"),
                             Value("Alle Stile"), Value("NumberTitle"), Value("off"),
                             Value("MenuBar"), Value("none")});
    // Controls lie above axes, as windows of their own would; the frame leaves room for one.
    control(fig, "frame", {Value("Position"), Value::row({0.02, 0.02, 0.5, 0.5})});
    control(fig, "text",
            {Value("Position"), Value::row({0.05, 0.85, 0.4, 0.08}), Value("String"),
             Value("Gesamtmasse [kg]"), Value("HorizontalAlignment"), Value("left")});
    control(fig, "edit",
            {Value("Position"), Value::row({0.5, 0.85, 0.4, 0.08}), Value("String"), Value("200"),
             Value("BackgroundColor"), Value("w")});
    rt::Handle push =
        control(fig, "push",
                {Value("Position"), Value::row({0.05, 0.7, 0.4, 0.1}), Value("String"),
                 Value("Berechnen"), Value("BackgroundColor"), Value::row({0, 0, 1}),
                 Value("ForegroundColor"), Value::row({1, 1, 1})});
    control(fig, "pushbutton",
            {Value("Position"), Value::row({0.5, 0.7, 0.4, 0.1}), Value("String"), Value("rechts"),
             Value("HorizontalAlignment"), Value("right")});
    control(fig, "checkbox",
            {Value("Position"), Value::row({0.05, 0.55, 0.4, 0.1}), Value("String"),
             Value("Schneiden"), Value("Value"), Value(1.0)});
    control(fig, "popupmenu",
            {Value("Position"), Value::row({0.5, 0.55, 0.4, 0.1}), Value("String"),
             Value::charMatrix(std::vector<std::string>{"Lichtmaschine", "Radsensor"}),
             Value("Value"), Value(1.0)});
    control(fig, "listbox",
            {Value("Position"), Value::row({0.05, 0.08, 0.45, 0.42}), Value("String"),
             Value::charMatrix(std::vector<std::string>{"195/50 R15;   1.780;",
                                                        "205/55 R16;   1.910;", "Übersetzung ²°"}),
             Value("FontName"), Value("FixedWidth"), Value("Value"), Value(2.0)});
    rt::Handle ax = rt::axes(
        {Value("Parent"), Value(fig), Value("Position"), Value::row({0.55, 0.1, 0.4, 0.4})});
    rt::line({Value("Parent"), Value(ax), Value("XData"), Value::row({0, 1}), Value("YData"),
              Value::row({0, 1}), Value("Color"), Value("r")});
    rt::FigureWindow* win = host->window(fig);
    rt::drawnow();
    QImage img = win->grab().toImage();
    // getframe goes through the same window, controls and axes included.
    Value frame = rt::getframe(fig).field("cdata");
    ASSERT_EQ(frame.dims(), (std::vector<std::size_t>{300, 420, 3}));
    ASSERT_EQ(img.size(), QSize(420, 300));
    if (const char* dir = std::getenv("ROVANTEL_GRAB_DIR"))
        img.save(QString::fromUtf8(dir) + "/all_styles.png");
    QRect b = widget(push)->geometry();
    EXPECT_EQ(img.pixelColor(b.left() + 6, b.top() + 4), QColor(0, 0, 255));
    // The button's label is drawn in its foreground colour somewhere on the face.
    bool white = false;
    for (int x = b.left() + 2; x < b.right() - 2 && !white; ++x)
        for (int y = b.top() + 2; y < b.bottom() - 2 && !white; ++y)
            white = img.pixelColor(x, y) == QColor(255, 255, 255);
    EXPECT_TRUE(white);
    // The axes' white plot box, with the red line through it, lies over the frame.
    EXPECT_EQ(img.pixelColor(420 * 0.9, 300 - 300 * 0.15), QColor(255, 255, 255));
    int red = 0;
    for (int x = 0; x < 420; ++x)
        for (int y = 0; y < 300; ++y) {
            QColor c = img.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 120 && c.blue() < 120;
        }
    EXPECT_GT(red, 100);
}

}  // namespace

namespace {

using rt::Value;
using rt::Values;

class Mouse : public QtFixture {};

// The eraser's pattern: a press installs the motion command, motion records, release stops.
TEST_F(Mouse, ButtonCallbacksSeeTheAxesCurrentPointInDataUnits) {
    rt::Handle fig = figure({Value("Position"), Value::row({0, 0, 400, 300})});
    rt::Handle ax = rt::axes({Value("Parent"), Value(fig), Value("Units"), Value("pixels"),
                              Value("Position"), Value::row({100, 50, 200, 200}), Value("XLim"),
                              Value::row({0, 10}), Value("YLim"), Value::row({0, 100})});
    std::vector<std::array<double, 2>> points;
    table.add("rec", 0, 0, [&](const Values&, int) {
        Value cp = rt::get(Value(ax), "CurrentPoint");
        points.push_back({cp.at(0), cp.at(2)});
        return Values{};
    });
    const std::string f = std::to_string(int(fig));
    rt::set(
        Value(fig),
        {Value("WindowButtonDownFcn"), Value("rec,set(" + f + ",'WindowButtonMotionFcn', 'rec')"),
         Value("WindowButtonUpFcn"), Value("hit;set(" + f + ",'WindowButtonMotionFcn', '')")});
    QWidget* w = host->window(fig);
    // Data (5, 50) sits at pixel (200, 150) from the bottom left: (200, 150) from the top too.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseMove(w, QPoint(300, 50));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(300, 50));
    QTest::mouseMove(w, QPoint(250, 100));  // after the release nothing records
    ASSERT_EQ(points.size(), 2u);
    EXPECT_NEAR(points[0][0], 5, 0.06);
    EXPECT_NEAR(points[0][1], 50, 0.6);
    EXPECT_NEAR(points[1][0], 10, 0.06);
    EXPECT_NEAR(points[1][1], 100, 0.6);
    EXPECT_EQ(calls, (std::vector<std::string>{"hit"}));
}

}  // namespace

namespace {

using rt::Value;

class Pointer : public QtFixture {};

// The eraser's cursor: white cells (2) drawn, NaN cells transparent, hot spot [row col].
TEST_F(Pointer, CustomPointerIsBuiltFromItsCellsAndHotSpot) {
    rt::Handle fig = figure();
    std::vector<double> cells(256, std::nan(""));
    int white = 0;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            if (r == 0 || r == 15 || c == 0 || c == 15 ||
                (r >= 2 && r <= 13 && (c == r || c == 15 - r))) {
                cells[c * 16 + r] = 2;
                ++white;
            }
    ASSERT_EQ(white, 84);
    rt::set(Value(fig), {Value("PointerShapeCData"), Value::matrix(16, 16, cells), Value("Pointer"),
                         Value("custom"), Value("PointerShapeHotSpot"), Value::row({8, 3})});
    QCursor cur = host->window(fig)->cursor();
    ASSERT_EQ(cur.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cur.hotSpot(), QPoint(2, 7));
    QImage mask = cur.mask().toImage(), bits = cur.bitmap().toImage();
    int opaque = 0, black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            // A bitmap's set bits read back as black.
            opaque += QColor(mask.pixel(x, y)) == QColor(Qt::black) ? 1 : 0;
            black += QColor(bits.pixel(x, y)) == QColor(Qt::black) ? 1 : 0;
        }
    EXPECT_EQ(opaque, 84);
    EXPECT_EQ(black, 0);
}

}  // namespace
