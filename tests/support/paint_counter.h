// Counts the paints a widget receives: installed as its event filter, it shows whether a
// change repainted the window at all.
#pragma once

#include <QEvent>
#include <QObject>

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};
