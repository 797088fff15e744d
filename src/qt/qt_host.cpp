#include "qt/qt_host.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetricsF>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <optional>

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

// A drawnow this early in a callback leaves the painting of shown windows to the callback's
// end: what it would paint is half a change (a run's checkbox redraws its axes once the
// second scale and the watermark are in place too). A longer callback paints as it goes, so
// that its progress shows.
constexpr auto kQuickCallback = std::chrono::milliseconds(100);

// Holds back, while it lives, the paints of figure windows that have been painted before;
// they are asked for again when it ends, however the event pass it spans ends.
class PaintHold : public QObject {
public:
    PaintHold() { qApp->installEventFilter(this); }
    ~PaintHold() override {
        qApp->removeEventFilter(this);
        for (const QPointer<QWidget>& w : held_)
            if (w)
                QCoreApplication::postEvent(w, new QEvent(QEvent::UpdateRequest),
                                            Qt::LowEventPriority);
    }
    PaintHold(const PaintHold&) = delete;
    PaintHold& operator=(const PaintHold&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::UpdateRequest) return false;
        auto* w = qobject_cast<FigureWindow*>(watched);
        if (!w || !w->painted()) return false;
        if (std::find(held_.begin(), held_.end(), w) == held_.end()) held_.emplace_back(w);
        return true;
    }

private:
    std::vector<QPointer<QWidget>> held_;
};

double logicalDpi() {
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

}  // namespace

void reportCallbackError(const std::string& message) {
    std::cerr << "Error in callback: " << message << std::endl;
}

// Hands each dialog to the installed provider and notes the error dialogs a callback shows.
class QtHost::DialogRouter : public Dialogs {
public:
    explicit DialogRouter(QtHost& host) : host_(host) {}
    std::optional<FileChoice> getFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override {
        return host_.dialogs_->getFile(filters, title);
    }
    std::optional<FileChoice> putFile(const std::vector<FileFilter>& filters,
                                      const std::string& title) override {
        return host_.dialogs_->putFile(filters, title);
    }
    std::string question(const std::string& text, const std::string& title,
                         const std::vector<std::string>& buttons,
                         const std::string& defaultButton) override {
        return host_.dialogs_->question(text, title, buttons, defaultButton);
    }
    std::optional<Rgb> color(const Rgb& initial) override { return host_.dialogs_->color(initial); }
    void error(const std::string& text, const std::string& title) override {
        if (!host_.frames_.empty()) host_.frames_.back().errorShown = true;
        host_.dialogs_->error(text, title);
    }
    void warning(const std::string& text, const std::string& title) override {
        host_.dialogs_->warning(text, title);
    }
    void callbackError(const std::string& text, const std::string& title) override {
        host_.dialogs_->callbackError(text, title);
    }

private:
    QtHost& host_;
};

QtHost::QtHost(Graphics& g)
    : g_(g),
      qtDialogs_(std::make_unique<QtDialogs>()),
      router_(std::make_unique<DialogRouter>(*this)),
      dialogs_(qtDialogs_.get()) {
    ensureApplication();
    qtDialogs_->setOwnerLookup([this] { return dialogOwner(); });
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

Dialogs& QtHost::dialogs() { return *router_; }

void QtHost::setDialogs(Dialogs* d) { dialogs_ = d ? d : qtDialogs_.get(); }

DialogOwner QtHost::dialogOwner() const {
    auto shown = [this](Handle h) -> QWidget* {
        FigureWindow* w = h != 0 && g_.isValid(h) ? window(h) : nullptr;
        return w && w->isVisible() ? w : nullptr;
    };
    DialogOwner owner;
    for (auto it = frames_.rbegin(); it != frames_.rend() && !owner.window; ++it)
        owner.window = shown(it->figure);
    if (!owner.window) owner.window = shown(g_.currentFigure());
    if (!owner.window) owner.window = QApplication::activeWindow();
    owner.focus = frames_.empty() ? QApplication::focusWidget() : frames_.back().focus.data();
    return owner;
}

void QtHost::raiseFigure(double figure) {
    FigureWindow* w = window(figure);
    if (!w || !w->isVisible()) return;
    if (w->isMinimized()) w->showNormal();
    w->raise();
    w->activateWindow();
}

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
    const bool quick = !frames_.empty() &&
                       std::chrono::steady_clock::now() - frames_.back().began < kQuickCallback;
    std::optional<PaintHold> hold;
    if (quick) hold.emplace();
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
    const Handle from = g_.currentFigure();
    frames_.push_back({from, QApplication::focusWidget(), false, std::chrono::steady_clock::now()});
    try {
        work();
    } catch (const std::exception& e) {
        const std::string message = caught(e);
        reportError(message);
    }
    frames_.pop_back();
    --callbackDepth_;
    scheduleCheck();
}

void QtHost::reportError(const std::string& message) {
    reportCallbackError(message);
    if (frames_.back().errorShown) return;  // the callback's own dialog told the user
    try {
        dialogs_->callbackError(message, defaultErrorTitle());
    } catch (const std::exception& e) {
        reportCallbackError(e.what());
    }
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
