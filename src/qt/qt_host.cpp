#include "qt/qt_host.h"

#include <cmath>
#include <iostream>

#include <QApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScreen>
#include <QTimer>

#include "qt/application.h"
#include "qt/figure_views.h"
#include "qt/qt_dialogs.h"
#include "runtime/dispatch/error.h"

namespace rt {

namespace {

QFont toQFont(const TextStyle& style) {
    QFont f = style.fontName == "FixedWidth"
                  ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                  : QFont(QString::fromStdString(style.fontName));
    if (style.fontSizePoints > 0) f.setPointSizeF(style.fontSizePoints);
    f.setBold(style.bold);
    f.setItalic(style.italic);
    return f;
}

}  // namespace

void reportCallbackError(const std::string& message) {
    std::cerr << "Error in callback: " << message << std::endl;
}

QtHost::QtHost(Graphics& g)
    : g_(g), qtDialogs_(std::make_unique<QtDialogs>()), dialogs_(qtDialogs_.get()) {
    ensureApplication();
    g_.setScreen(screen());
    g_.setTextMeasure([this](const std::vector<std::u16string>& lines, const TextStyle& style) {
        return measureText(lines, style);
    });
    // close(h) of a figure with a CloseRequestFcn runs it, inside the running callback.
    g_.setCallbackRunner([this](Handle h, const std::string& property) {
        const Value code = g_.get(h, property);
        if (!code.isChar() || code.isEmpty()) return;
        if (!evaluator_) throw Error("No callback interpreter installed.");
        evaluator_(code.text());
    });
    views_ = std::make_unique<FigureViews>(*this, g_);
}

QtHost::~QtHost() {
    views_.reset();
    g_.setCallbackRunner({});
    g_.setTextMeasure({});
}

FigureWindow* QtHost::window(Handle figure) const { return views_->window(figure); }

void QtHost::setDialogs(Dialogs* d) { dialogs_ = d ? d : qtDialogs_.get(); }

ScreenInfo QtHost::screen() const {
    ScreenInfo info;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        info.widthPixels = s->geometry().width();
        info.heightPixels = s->geometry().height();
        info.pixelsPerInch = s->logicalDotsPerInchY();
    }
    return info;
}

std::array<double, 2> QtHost::measureText(const std::vector<std::u16string>& lines,
                                          const TextStyle& style) const {
    QFontMetricsF fm(toQFont(style));
    double width = 0;
    for (const std::u16string& line : lines)
        width = std::max(width, fm.horizontalAdvance(QString::fromStdU16String(line)));
    const double n = static_cast<double>(std::max<std::size_t>(1, lines.size()));
    return {width, fm.height() + fm.lineSpacing() * (n - 1)};
}

void QtHost::serveUntil(const std::function<bool()>& done) {
    if (done()) return;
    QEventLoop loop;
    Wait w{&loop, &done, callbackDepth_};
    waits_.push_back(&w);
    struct Pop {
        std::vector<Wait*>& v;
        ~Pop() { v.pop_back(); }
    } pop{waits_};
    loop.exec();
}

void QtHost::flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::pause(double seconds) {
    if (!(seconds > 0)) {
        flush();
        return;
    }
    QEventLoop loop;
    const double ms = std::min(seconds * 1000.0, 1e9);
    QTimer::singleShot(static_cast<int>(std::lround(ms)), &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool QtHost::acceptsUserCallback() const {
    return callbackDepth_ == (waits_.empty() ? 0 : waits_.back()->depth);
}

bool QtHost::runUserCallback(const std::string& code) {
    if (!acceptsUserCallback()) return false;
    if (code.empty()) return true;
    runAsCallback([&] {
        if (!evaluator_) throw Error("No callback interpreter installed.");
        evaluator_(code);
    });
    return true;
}

void QtHost::runAsCallback(const std::function<void()>& work) {
    ++callbackDepth_;
    try {
        work();
    } catch (const Error& e) {
        setLasterr(e.what());
        reportCallbackError(e.what());
    } catch (const std::exception& e) {
        setLasterr(e.what());
        reportCallbackError(e.what());
    }
    --callbackDepth_;
    scheduleCheck();
}

void QtHost::swallowPendingInput() {
    if (swallowing_ || acceptsUserCallback()) return;
    swallowing_ = true;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    swallowing_ = false;
}

void QtHost::scheduleCheck() {
    if (checkPending_ || waits_.empty()) return;
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
        checkPending_ = false;
        checkWaits();
    });
}

void QtHost::checkWaits() {
    for (Wait* w : waits_) {
        bool finished = true;
        try {
            finished = (*w->done)();
        } catch (...) {
            // A condition that cannot be asked any more (its object is gone) is over.
        }
        if (finished) w->loop->quit();
    }
}

}  // namespace rt
