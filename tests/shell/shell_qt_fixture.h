// The program's windows as Qt shows them, offscreen, with scripted dialogs: callback texts go
// through the program's table of functions callable by name, as a click runs them.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "apps/rovantel_function_table.h"
#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "support/shell_test_support.h"

namespace shell_test {

class ShellQtTest : public ::testing::Test {
protected:
    ShellQtTest()
        : dialogs_([](const std::string& line) { ADD_FAILURE() << line; }),
          table_(apps::rovantel_function_table()),
          interp_(table_, &builtins_) {
        rt::register_graphics_builtins(builtins_);
    }
    // An empty tree, the Qt host with the scripted dialogs, the German table.
    void SetUp() override {
        rt::graphics().reset();
        host_ = std::make_unique<rt::QtHost>();
        host_->setDialogs(&dialogs_);
        host_->setEvaluator([this](const std::string& code) { interp_.eval(code); });
        previous_ = rt::setHost(host_.get());
        use_table(shell::german_table());
    }
    // Every window closed, the host's own screen again; an answer left unused fails.
    void TearDown() override {
        rt::graphics().reset();
        rt::graphics().useHostScreen();
        rt::setHost(previous_);
        host_.reset();
        EXPECT_EQ(dialogs_.pending(), 0u) << "answers left unused";
    }

    // The widget showing a control (nullptr when its window shows none).
    QWidget* widget(rt::Handle control) {
        rt::FigureWindow* w = host_->window(rt::graphics().parent(control));
        return w && w->control(control) ? w->control(control)->widget() : nullptr;
    }
    QWidget* widget_of(const std::string& tag) { return widget(shell::tagged(tag).scalar()); }

    // Every control of window `fig` shows its whole text, in width and height.
    void expect_nothing_cut_off(rt::Handle fig, const std::string& where) {
        for (rt::Handle h : rt::graphics().children(fig)) {
            if (rt::graphics().type(h) != rt::ObjectType::UIControl) continue;
            QWidget* w = widget(h);
            ASSERT_NE(w, nullptr);
            const QFontMetrics fm(w->font());
            QString text;
            int room = w->contentsRect().width();
            if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text(), room -= 8;
            if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text(), room -= 6;
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                // Every item beside the arrow, not only the chosen one.
                QStyleOptionComboBox opt;
                opt.initFrom(c);
                room =
                    c->style()
                        ->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c)
                        .width();
                for (int i = 0; i < c->count(); ++i)
                    EXPECT_LE(fm.horizontalAdvance(c->itemText(i)), room)
                        << where << ": " << c->itemText(i).toStdString();
            }
            if (auto* list = qobject_cast<QListWidget*>(w)) {
                room = list->viewport()->width();
                for (int i = 0; i < list->count(); ++i)
                    EXPECT_LE(fm.horizontalAdvance(list->item(i)->text()), room)
                        << list->item(i)->text().toStdString();
                continue;
            }
            EXPECT_LE(fm.horizontalAdvance(text), room) << where << ": " << text.toStdString();
            // A label's line starts at its top: its glyphs must end above its bottom. Other
            // controls centre a whole line.
            const int needed = qobject_cast<QLabel*>(w) && !text.isEmpty()
                                   ? fm.ascent() + std::max(0, fm.tightBoundingRect(text).bottom())
                                   : fm.height() - 2;
            EXPECT_LE(needed, w->height()) << where << ": " << text.toStdString();
        }
    }
    void expect_nothing_cut_off(const char* tag) {
        expect_nothing_cut_off(shell::tagged(std::string(tag)).scalar(), tag);
    }

    // With ROVANTEL_GRAB_DIR set, keeps `image` there as `name`.png for a look.
    static void save_grab(const QImage& image, const std::string& name) {
        if (const char* dir = std::getenv("ROVANTEL_GRAB_DIR"))
            image.save(QString("%1/%2.png").arg(dir, QString::fromStdString(name)));
    }

    rt::ScriptedDialogs dialogs_;
    rt::FunctionTable table_, builtins_;
    rt::CallbackInterpreter interp_;
    std::unique_ptr<rt::QtHost> host_;
    rt::Host* previous_ = nullptr;
};

}  // namespace shell_test
