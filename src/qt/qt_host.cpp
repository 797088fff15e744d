#include "qt/qt_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QScreen>
#include <QTimer>
#include <cmath>
#include <iostream>

#include "qt/application.h"
#include "qt/figure_views.h"
#include "qt/figure_window.h"
#include "qt/qpainter_canvas.h"
#include "qt/qt_dialogs.h"
#include "qt/raster_output.h"
#include "qt/scene_from_model.h"
#include "runtime/dispatch/error.h"

namespace rt {

namespace {

double logicalDpi() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

}  // namespace

void reportCallbackError(const std::string& message) {
    std::cerr << "Error in callback: " << message << std::endl;
}

QtHost::QtHost(Graphics& g)
    : g_(g), qtDialogs_(std::make_unique<QtDialogs>()), dialogs_(qtDialogs_.get()) {
    ensureApplication();
    // close(h) of a figure with a CloseRequestFcn runs it, inside the running callback.
    g_.setCallbackRunner([this](Handle h, const std::string& property) {
        const Value code = g_.get(h, property);
        if (!code.isChar() || code.isEmpty()) return;
        if (!evaluator_) throw Error("No callback interpreter installed.");
        evaluator_(code.text());
    });
    scenes_ = std::make_unique<SceneBuilder>(g_);
    views_ = std::make_unique<FigureViews>(*this, g_);
    // getframe grabs a figure's window with its controls; print draws its scene.
    QtFigureOutput& output = installQtImageOutput();
    connectFigureOutput(output, g_, *scenes_);
    output.setWindowLookup([this](double fig) -> QWidget* {
        if (std::isnan(fig)) fig = g_.currentFigure();
        return views_ ? views_->window(fig) : nullptr;
    });
}

QtHost::~QtHost() {
    QtFigureOutput& output = installQtImageOutput();
    output.setWindowLookup(nullptr);
    output.setSceneSource(nullptr);
    output.setPaperSource(nullptr);
    views_.reset();
    scenes_.reset();
    g_.setCallbackRunner({});
}

FigureWindow* QtHost::window(Handle figure) const { return views_->window(figure); }

void QtHost::setDialogs(Dialogs* d) { dialogs_ = d ? d : qtDialogs_.get(); }

ScreenInfo QtHost::screen() const {
    ScreenInfo info;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        info.width = s->geometry().width();
        info.height = s->geometry().height();
        info.pixelsPerInch = s->logicalDotsPerInchY();
    }
    return info;
}

TextMetrics QtHost::measureText(const std::string& text, const FontSpec& font) const {
    // The painter's font at the screen's resolution, so that Extent matches what is drawn.
    const double dpi = logicalDpi();
    QFontMetricsF fm(canvasQFont({font.name, font.points * dpi / 72.0, font.bold, font.italic}));
    const QStringList lines = QString::fromStdString(text).split(u'\n');
    TextMetrics m;
    for (const QString& line : lines) m.width = std::max(m.width, fm.horizontalAdvance(line));
    m.height = fm.height() + fm.lineSpacing() * (lines.size() - 1);
    m.ascent = fm.ascent();
    m.descent = fm.descent();
    const double toPoints = 72.0 / dpi;
    m.width *= toPoints;
    m.height *= toPoints;
    m.ascent *= toPoints;
    m.descent *= toPoints;
    return m;
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
    } catch (const std::exception& e) {
        setLasterr(e.what());
        if (errorReporter_) {
            try {
                errorReporter_(e.what());
            } catch (const std::exception& again) {
                reportCallbackError(again.what());
            }
        } else {
            reportCallbackError(e.what());
        }
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
