#include "qt/window_fit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <cmath>

namespace rt {

namespace {

int widestLine(const QFontMetrics& fm, const QStringList& lines) {
    int width = 0;
    for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
    return width;
}

// Width of the longest line and height of all lines of `text`.
QSize linesSize(const QFontMetrics& fm, const QString& text) {
    const QStringList lines = text.split(u'\n');
    return {widestLine(fm, lines),
            fm.height() + fm.lineSpacing() * static_cast<int>(lines.size() - 1)};
}

// A label draws its text from its top: the last line's glyphs end where they reach below its
// baseline, which for most texts is well above the font's full descent.
QSize labelRoom(const QLabel* l, const QFontMetrics& fm) {
    const QStringList lines = l->text().split(u'\n');
    const int width = widestLine(fm, lines);
    const int below = std::max(0, fm.tightBoundingRect(lines.back()).bottom() + 1);
    const int height = fm.ascent() + below + fm.lineSpacing() * static_cast<int>(lines.size() - 1);
    return QSize(width + 2, height) + QSize(2 * l->margin(), 2 * l->margin());
}

QSize comboRoom(const QComboBox* c, const QFontMetrics& fm) {
    int widest = 0;
    for (int i = 0; i < c->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(c->itemText(i)));
    if (widest == 0) return {};
    // What the style takes for the arrow and the frame, at any width.
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = false;
    opt.frame = true;
    opt.rect = QRect(0, 0, 1000, fm.height() + 4);
    const QRect text =
        c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    return {widest + 1000 - text.width() + 4, fm.height() + 4};
}

QSize listRoom(const QListWidget* l, const QFontMetrics& fm) {
    int widest = 0;
    for (int i = 0; i < l->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(l->item(i)->text()));
    const int frame = 2 * l->frameWidth() + 6;  // item margins
    const int bar = l->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, l);
    return {widest + bar + frame, 3 * fm.lineSpacing() + frame};
}

}  // namespace

QSize textRoom(const QWidget* control, const QFont& font) {
    const QFontMetrics fm(font);
    if (auto* l = qobject_cast<const QLabel*>(control))
        return l->text().isEmpty() ? QSize() : labelRoom(l, fm);
    if (auto* e = qobject_cast<const QLineEdit*>(control)) {
        // A field scrolls its text; it need show only a short number whole.
        const int text = std::min(fm.horizontalAdvance(e->text()),
                                  fm.horizontalAdvance(QStringLiteral("0000000")));
        // The frame and the cursor's margin; the line may lose a pixel at top and bottom,
        // where no glyph reaches.
        return {text + 12, fm.height() + 4};
    }
    if (auto* c = qobject_cast<const QComboBox*>(control)) return comboRoom(c, fm);
    if (auto* l = qobject_cast<const QListWidget*>(control)) return listRoom(l, fm);
    if (auto* b = qobject_cast<const QCheckBox*>(control)) {
        if (b->text().isEmpty()) return {};
        const QStyle* s = b->style();
        const int box = s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, b) +
                        s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, b);
        const QSize text = linesSize(fm, b->text());
        return {box + text.width() + 4, std::max(text.height(), box)};
    }
    if (auto* b = qobject_cast<const QPushButton*>(control)) {
        if (b->text().isEmpty()) return {};
        return linesSize(fm, b->text()) + QSize(14, 4);  // padding and frame of the button face
    }
    return {};
}

int readablePixels(double pixelsPerInch) {
    return static_cast<int>(std::ceil(7 * pixelsPerInch / 72));
}

QFont fittedFont(const QWidget* control, const QFont& font, QSize box, int floorPixels) {
    const auto fits = [&](const QFont& f) {
        const QSize room = textRoom(control, f);
        return room.width() <= box.width() && room.height() <= box.height();
    };
    if (fits(font)) return font;
    QFont f = font;
    for (int px = QFontInfo(font).pixelSize() - 1; px >= floorPixels && px > 0; --px) {
        f.setPixelSize(px);
        if (fits(f)) return f;
    }
    return f;
}

ScreenRoom screenRoom(const QWidget* window, const QRect& where, QSize primary) {
    const QScreen* first = QGuiApplication::primaryScreen();
    const QScreen* s = QGuiApplication::screenAt(where.center());
    if (!s) s = window->screen();
    if (!s) s = first;
    ScreenRoom room{QRect(QPoint(0, 0), primary), {}};
    if (s && s != first) {
        room.area = s->availableGeometry();
    } else if (s) {
        // The model's screen is the whole screen, panels included.
        const QRect all = s->geometry(), free = s->availableGeometry();
        room.area = QRect(all.topLeft(), primary) -
                    QMargins(free.left() - all.left(), free.top() - all.top(),
                             all.right() - free.right(), all.bottom() - free.bottom());
    }
    // A window manager reports the frame only once a window is shown, and gives every window
    // of a program the same.
    const auto frameOf = [](const QWidget* w) {
        const QRect f = w->frameGeometry(), g = w->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                        f.bottom() - g.bottom());
    };
    if (window->isVisible() && !frameOf(window).isNull()) {
        room.frame = frameOf(window);
        return room;
    }
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != window && w->isVisible() && w->windowType() == Qt::Window &&
            !frameOf(w).isNull()) {
            room.frame = frameOf(w);
            return room;
        }
    const QStyle* style = QApplication::style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    room.frame =
        QMargins(border, style->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
    return room;
}

QRect placedWithin(QRect r, const ScreenRoom& room) {
    const QRect inner = room.inner();
    if (inner.isEmpty()) return r;
    if (r.width() <= inner.width()) {
        if (r.right() > inner.right()) r.moveRight(inner.right());
    }
    if (r.height() <= inner.height()) {
        if (r.bottom() > inner.bottom()) r.moveBottom(inner.bottom());
    }
    if (r.left() < inner.left()) r.moveLeft(inner.left());
    if (r.top() < inner.top()) r.moveTop(inner.top());
    return r;
}

void TextFit::set(Handle control, QSize room, QSize floorRoom, QSizeF share) {
    if (room.isEmpty() || !(share.width() > 0) || !(share.height() > 0)) {
        needs_.erase(control);
        return;
    }
    const auto window = [&](QSize r) {
        return QSizeF(r.width() / share.width(), r.height() / share.height());
    };
    needs_[control] = {window(room), floorRoom.isEmpty() ? QSizeF(0, 0) : window(floorRoom)};
}

void TextFit::remove(Handle control) { needs_.erase(control); }

QSize TextFit::minimum(QSize asked, QSize limit) const {
    QSizeF full(0, 0), floor(0, 0);
    for (const auto& [h, need] : needs_) {
        full = full.expandedTo(need.full);
        floor = floor.expandedTo(need.floor);
    }
    const auto least = [](double full, double floor, int asked) {
        return static_cast<int>(
            std::ceil(asked < 0 ? full : std::min(full, std::max(floor, double(asked)))));
    };
    const bool given = asked.isValid();
    return QSize(least(full.width(), floor.width(), given ? asked.width() : -1),
                 least(full.height(), floor.height(), given ? asked.height() : -1))
        .boundedTo(limit);
}

}  // namespace rt
