#include "qt/window_fit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <cmath>

namespace rt {

namespace {

// Width of the longest line and height of all lines of `text`.
QSize linesSize(const QFontMetrics& fm, const QString& text) {
    const QStringList lines = text.split(u'\n');
    int width = 0;
    for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
    return {width, fm.height() + fm.lineSpacing() * static_cast<int>(lines.size() - 1)};
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

QSize textRoom(const QWidget* control) {
    const QFontMetrics fm(control->font());
    if (auto* l = qobject_cast<const QLabel*>(control)) {
        if (l->text().isEmpty()) return {};
        return linesSize(fm, l->text()) + QSize(2 * l->margin() + 2, 2 * l->margin());
    }
    if (auto* e = qobject_cast<const QLineEdit*>(control)) {
        // A field scrolls its text; it need show only a short number whole.
        const int text = std::min(fm.horizontalAdvance(e->text()),
                                  fm.horizontalAdvance(QStringLiteral("0000000")));
        return {text + 12, fm.height() + 6};  // frame, padding and the text cursor's margin
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

void TextFit::set(Handle control, QSize room, QSizeF share) {
    if (room.isEmpty() || !(share.width() > 0) || !(share.height() > 0)) {
        needs_.erase(control);
        return;
    }
    needs_[control] = QSizeF(room.width() / share.width(), room.height() / share.height());
}

void TextFit::remove(Handle control) { needs_.erase(control); }

QSize TextFit::minimum(QSize limit) const {
    double width = 0, height = 0;
    for (const auto& [h, need] : needs_) {
        width = std::max(width, need.width());
        height = std::max(height, need.height());
    }
    return {std::min(limit.width(), static_cast<int>(std::ceil(width))),
            std::min(limit.height(), static_cast<int>(std::ceil(height)))};
}

}  // namespace rt
