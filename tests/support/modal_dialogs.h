// Driving Qt's own dialogs from a test: they block in their own event loop, so the test acts
// on them from a timer once they are up.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

namespace testsupport {

// Runs `act` on the next modal dialog once it is up.
inline void onModal(std::function<void(QWidget*)> act, int triesLeft = 500) {
    // Polls for the dialog, so a slow or loaded machine only waits longer.
    QTimer::singleShot(20, [act, triesLeft] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            act(w);
        } else if (triesLeft > 0) {
            onModal(act, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal dialog open";
        }
    });
}

// Closes whatever modal dialog is still open after a while, so a wrong extra dialog fails
// the test instead of hanging it. Stops with the test, so it never reaches a later test's
// dialog.
struct Watchdog {
    QTimer timer;
    bool extraDialog = false;
    Watchdog() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            while (QWidget* w = QApplication::activeModalWidget()) {
                extraDialog = true;
                ADD_FAILURE() << "left open: " << w->metaObject()->className() << " "
                              << w->windowTitle().toStdString();
                w->close();
            }
        });
        timer.start(10000);
    }
};

// The error dialogs standing open now.
inline std::vector<QMessageBox*> openErrorDialogs() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) boxes.push_back(b);
    return boxes;
}

// How far the centre of `dialog` lies from the centre of `window`, in pixels.
inline int offCentre(const QWidget* dialog, const QWidget* window) {
    return (dialog->frameGeometry().center() - window->frameGeometry().center()).manhattanLength();
}

}  // namespace testsupport
