#include "qt/control_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

#include "qt/qt_host.h"
#include "qt/view_support.h"
#include "qt/window_fit.h"

namespace rt {

namespace {

Qt::Alignment alignmentOf(const std::string& word) {
    if (word == "left") return Qt::AlignLeft;
    if (word == "right") return Qt::AlignRight;
    return Qt::AlignHCenter;
}

QString cssColour(const QColor& c) { return c.name(QColor::HexRgb); }

// Row index (0-based) a Value selects, or -1.
int rowIndex(const Value& v, int count) {
    if (!v.isDouble() || v.isEmpty()) return -1;
    const double x = v.at(0);
    if (!std::isfinite(x)) return -1;
    const long i = std::lround(x) - 1;
    return (i >= 0 && i < count) ? static_cast<int>(i) : -1;
}

// A run's box is a small square on a larger control: a click anywhere on the control
// toggles it, not only one on the indicator or its text.
class WholeAreaCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

bool isInputEvent(QEvent::Type t) {
    switch (t) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::FocusIn:
            return true;
        default:
            return false;
    }
}

}  // namespace

ControlView::ControlView(QtHost& host, Graphics& g, Handle h, Handle figure, QWidget* figureWidget)
    : host_(host), g_(g), h_(h), figure_(figure), figureWidget_(figureWidget) {
    build();
}

ControlView::~ControlView() {
    if (widget_) {
        // The widget may be inside its own signal (a button whose callback deleted it).
        widget_->hide();
        widget_->deleteLater();
    }
}

void ControlView::build() {
    style_ = enumWord(g_, h_, "Style");
    QWidget* w = nullptr;
    if (style_ == "frame") {
        auto* f = new QFrame(figureWidget_);
        f->setFrameShape(QFrame::Panel);
        f->setFrameShadow(QFrame::Raised);
        f->setAutoFillBackground(true);
        w = f;
    } else if (style_ == "text") {
        auto* l = new QLabel(figureWidget_);
        l->setTextFormat(Qt::PlainText);
        l->setAutoFillBackground(true);
        w = l;
    } else if (style_ == "edit") {
        auto* e = new QLineEdit(figureWidget_);
        connect(e, &QLineEdit::textEdited, this, [this] { edited_ = true; });
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            if (!edited_) return;
            edited_ = false;
            // Refused while another callback runs: the typed text stays for the next try.
            if (!userAction(
                    [this, e] { g_.setFromHost(h_, "String", Value(e->text().toStdU16String())); }))
                edited_ = true;
        });
        w = e;
    } else if (style_ == "checkbox" || style_ == "radiobutton" || style_ == "togglebutton") {
        QAbstractButton* b = style_ == "togglebutton"
                                 ? static_cast<QAbstractButton*>(new QPushButton(figureWidget_))
                                 : new WholeAreaCheckBox(figureWidget_);
        b->setCheckable(true);
        connect(b, &QAbstractButton::clicked, this, [this, b](bool checked) {
            userAction([this, checked] {
                g_.setFromHost(h_, "Value", Value(g_.get(h_, checked ? "Max" : "Min").scalar()));
            });
            (void)b;
        });
        w = b;
    } else if (style_ == "popupmenu") {
        auto* c = new QComboBox(figureWidget_);
        connect(c, &QComboBox::activated, this, [this](int index) {
            userAction([this, index] { g_.setFromHost(h_, "Value", Value(double(index + 1))); });
        });
        w = c;
    } else if (style_ == "listbox") {
        auto* l = new QListWidget(figureWidget_);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        l->viewport()->installEventFilter(this);
        // Programmatic changes happen under a signal blocker, so this is the user's choice.
        connect(l, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row < 0) return;
            userAction([this, row] { g_.setFromHost(h_, "Value", Value(double(row + 1))); });
        });
        w = l;
    } else {  // pushbutton, and the styles the system never makes (slider)
        auto* b = new QPushButton(figureWidget_);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this] { userAction({}); });
        w = b;
    }
    w->setObjectName(QString::fromStdU16String(
        g_.get(h_, "Tag").isChar() ? g_.get(h_, "Tag").text16() : std::u16string()));
    w->installEventFilter(this);
    widget_ = w;
    applyAll();
    w->raise();
}

void ControlView::applyAll() {
    applyText();
    applyValue();
    applyColours();
    applyEnable();
    fitFont();
    if (g_.hasProperty(h_, "TooltipString"))
        widget_->setToolTip(displayRows(g_.get(h_, "TooltipString")).join(u'\n'));
    widget_->setVisible(enumWord(g_, h_, "Visible") == "on");
}

void ControlView::apply(const std::string& p) {
    if (!widget_) return;
    if (p == "Style") {
        // A new Style needs a new widget; rare, so rebuild in place.
        QWidget* old = widget_;
        old->hide();
        old->deleteLater();
        build();
        place(figureWidget_->height());
    } else if (p == "String") {
        applyText();
        applyValue();
    } else if (p == "Value" || p == "Min" || p == "Max") {
        applyValue();
    } else if (p == "BackgroundColor" || p == "ForegroundColor" || p == "HorizontalAlignment") {
        applyColours();
        applyText();
    } else if (p == "Enable") {
        applyEnable();
    } else if (p == "Visible") {
        widget_->setVisible(enumWord(g_, h_, "Visible") == "on");
    } else if (p == "TooltipString") {
        widget_->setToolTip(displayRows(g_.get(h_, "TooltipString")).join(u'\n'));
    } else if (p == "Tag") {
        Value tag = g_.get(h_, "Tag");
        widget_->setObjectName(tag.isChar() ? QString::fromStdU16String(tag.text16()) : QString());
    }
}

bool ControlView::place(double figureHeight) {
    if (!widget_) return false;
    const QRect r = toQtRect(g_.pixelPosition(h_), figureHeight);
    const bool resized = widget_->size() != r.size();
    if (widget_->geometry() != r) widget_->setGeometry(r);
    return resized;
}

QFont ControlView::font() const { return fontOf(g_, h_, widget_ ? widget_->height() : 0); }

int ControlView::floorPixels(const QFont& font) const {
    // A text the program itself made smaller than that keeps its size.
    return std::min(QFontInfo(font).pixelSize(), readablePixels(g_.screen().pixelsPerInch));
}

void ControlView::fitFont() {
    if (!widget_) return;
    const QFont own = font();
    const QFont shown = fittedFont(widget_, own, widget_->size(), floorPixels(own));
    if (widget_->font() != shown) widget_->setFont(shown);
}

void ControlView::applyText() {
    const QStringList rows = displayRows(g_.get(h_, "String"));
    const Qt::Alignment align = alignmentOf(enumWord(g_, h_, "HorizontalAlignment"));
    if (auto* l = qobject_cast<QLabel*>(widget_)) {
        l->setText(rows.join(u'\n'));
        l->setAlignment(align | Qt::AlignTop);
        l->setWordWrap(rows.size() <= 1);
    } else if (auto* e = qobject_cast<QLineEdit*>(widget_)) {
        const QString text = rows.join(u' ');
        if (e->text() != text) {
            QSignalBlocker block(e);
            e->setText(text);
            e->setCursorPosition(0);
            edited_ = false;
        }
        e->setAlignment(align | Qt::AlignVCenter);
    } else if (auto* c = qobject_cast<QComboBox*>(widget_)) {
        QSignalBlocker block(c);
        c->clear();
        c->addItems(rows);
    } else if (auto* lw = qobject_cast<QListWidget*>(widget_)) {
        QSignalBlocker block(lw);
        lw->clear();
        lw->addItems(rows);
    } else if (auto* b = qobject_cast<QAbstractButton*>(widget_)) {
        b->setText(rows.join(u'\n'));
    }
}

void ControlView::applyValue() {
    Value v = g_.get(h_, "Value");
    if (auto* c = qobject_cast<QComboBox*>(widget_)) {
        QSignalBlocker block(c);
        c->setCurrentIndex(rowIndex(v, c->count()));
    } else if (auto* lw = qobject_cast<QListWidget*>(widget_)) {
        QSignalBlocker block(lw);
        const int row = rowIndex(v, lw->count());
        lw->setCurrentRow(row);
        if (row < 0) lw->clearSelection();
    } else if (auto* b = qobject_cast<QAbstractButton*>(widget_); b && b->isCheckable()) {
        QSignalBlocker block(b);
        const double max = g_.get(h_, "Max").scalar();
        b->setChecked(!v.isEmpty() && v.isDouble() && v.at(0) == max);
    }
}

void ControlView::applyColours() {
    const QColor bg = toQColor(g_.get(h_, "BackgroundColor"), QColor(204, 204, 204));
    const QColor fg = toQColor(g_.get(h_, "ForegroundColor"));
    if (auto* b = qobject_cast<QPushButton*>(widget_)) {
        // The palette does not reach a push button's face in most styles; a style sheet does,
        // and it is also what aligns a button's label.
        const std::string align = enumWord(g_, h_, "HorizontalAlignment");
        b->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: %2; text-align: %3;"
                           " border: 1px solid #7a7a7a; border-radius: 2px; padding: 0px 4px; }"
                           " QPushButton:pressed, QPushButton:checked { background-color: %4; }")
                .arg(cssColour(bg), cssColour(fg), QString::fromStdString(align),
                     cssColour(bg.darker(125))));
        return;
    }
    if (auto* e = qobject_cast<QLineEdit*>(widget_)) {
        // A sunken entry on the control's own colour, so that a field never passes for a
        // button; the focused one shows it in its frame.
        const QColor focus = QApplication::palette().color(QPalette::Highlight);
        const QColor faded =
            QColor::fromRgbF((fg.redF() + bg.redF()) / 2, (fg.greenF() + bg.greenF()) / 2,
                             (fg.blueF() + bg.blueF()) / 2);
        e->setStyleSheet(
            QStringLiteral("QLineEdit { background-color: %1; color: %2; border: 2px inset %3;"
                           " padding: 0px 2px; } QLineEdit:focus { border: 2px solid %4; }"
                           " QLineEdit:disabled { color: %5; }")
                .arg(cssColour(bg), cssColour(fg), cssColour(bg.darker(115)), cssColour(focus),
                     cssColour(faded)));
        return;
    }
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, bg);
    pal.setColor(QPalette::WindowText, fg);
    pal.setColor(QPalette::Text, fg);
    pal.setColor(QPalette::ButtonText, fg);
    if (style_ == "edit" || style_ == "listbox") pal.setColor(QPalette::Base, bg);
    if (style_ == "popupmenu") pal.setColor(QPalette::Button, bg);
    widget_->setPalette(pal);
}

void ControlView::applyEnable() {
    const std::string word = enumWord(g_, h_, "Enable");
    // Input that queued up while a long callback kept this control inactive is taken now,
    // while it is still inactive, so that a click made during the wait does not start the
    // same work a second time once the control is live again.
    if (inactive_ && word != "inactive") host_.swallowPendingInput();
    widget_->setEnabled(word != "off");
    // "inactive" looks enabled but takes no input: the event filter eats it.
    inactive_ = word == "inactive";
    if (inactive_ && widget_->hasFocus()) widget_->clearFocus();
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
    if (inactive_ && isInputEvent(event->type())) return true;
    if (event->type() == QEvent::MouseButtonPress && host_.acceptsUserCallback() &&
        g_.isValid(figure_))
        g_.setCurrentFigure(figure_);
    return QObject::eventFilter(watched, event);
}

bool ControlView::userAction(const std::function<void()>& writeBack) {
    if (!host_.acceptsUserCallback() || !g_.isValid(h_)) {
        if (widget_ && g_.isValid(h_) && style_ != "edit") applyValue();
        return false;
    }
    // The callback may delete this view: keep what it needs on the stack.
    Graphics& g = g_;
    QtHost& host = host_;
    const Handle h = h_;
    g.setCurrentFigure(figure_);
    if (writeBack) writeBack();
    if (g.isValid(h)) host.runUserCallback(commandText(g.get(h, "Callback")));
    return true;
}

}  // namespace rt
