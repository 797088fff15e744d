// Whether control widgets show their whole texts, for tests of windows as Qt shows them.
#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <string>
#include <vector>

namespace testsupport {

// Labels and buttons show their longest line, boxes theirs beside the indicator, popups every
// item beside the arrow, lists every row, fields their text; and every text is as high as its
// font. Hidden controls count: they may be shown later at the same size.
inline void expectTextsFit(const std::vector<QWidget*>& controls, const std::string& where) {
    for (QWidget* w : controls) {
        ASSERT_NE(w, nullptr) << where;
        const QFontMetrics fm(w->font());
        auto widest = [&fm](const QString& text) {
            int width = 0;
            for (const QString& line : text.split(u'\n'))
                width = std::max(width, fm.horizontalAdvance(line));
            return width;
        };
        QString text;
        int room = w->contentsRect().width();
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* b = qobject_cast<QPushButton*>(w)) text = b->text(), room -= 8;
        if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text(), room -= 6;
        if (auto* b = qobject_cast<QCheckBox*>(w))
            text = b->text(), room -= w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 2;
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(c);
            room = c->style()
                       ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
                       .width();
            for (int i = 0; i < c->count(); ++i)
                EXPECT_LE(widest(c->itemText(i)), room)
                    << where << ": " << c->itemText(i).toStdString();
        }
        if (auto* list = qobject_cast<QListWidget*>(w)) {
            room = list->viewport()->width();
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(widest(list->item(i)->text()), room)
                    << where << ": " << list->item(i)->text().toStdString();
            continue;
        }
        EXPECT_LE(widest(text), room) << where << ": " << text.toStdString();
        EXPECT_LE(fm.height(), w->height() + 2) << where << ": " << text.toStdString();
    }
}

}  // namespace testsupport
