#include "qt/figure_window.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>
#include <cmath>

#include "qt/control_view.h"
#include "qt/qt_host.h"
#include "qt/scene_from_model.h"
#include "qt/view_support.h"
#include "runtime/graphics/zoom.h"

namespace rt {

namespace {

double screenHeight(const Graphics& g) { return g.screen().height; }

const QEvent::Type kMinimumDue = static_cast<QEvent::Type>(QEvent::registerEventType());

Qt::CursorShape shapeOf(const std::string& word) {
    if (word == "watch") return Qt::WaitCursor;
    if (word == "crosshair" || word == "fullcrosshair" || word == "cross") return Qt::CrossCursor;
    if (word == "ibeam") return Qt::IBeamCursor;
    if (word == "fleur") return Qt::SizeAllCursor;
    if (word == "hand") return Qt::PointingHandCursor;
    if (word == "left" || word == "right") return Qt::SizeHorCursor;
    if (word == "top" || word == "bottom") return Qt::SizeVerCursor;
    if (word == "topl" || word == "botr") return Qt::SizeFDiagCursor;
    if (word == "topr" || word == "botl") return Qt::SizeBDiagCursor;
    return Qt::ArrowCursor;
}

// PointerShapeCData: 1 black, 2 white, anything else (NaN) transparent; the hot spot is
// [row column], 1-based.
QCursor customCursor(const Value& cdata, const Value& hotSpot) {
    const int rows = static_cast<int>(cdata.rows()), cols = static_cast<int>(cdata.cols());
    QImage bits(cols, rows, QImage::Format_Mono), mask(cols, rows, QImage::Format_Mono);
    // Index 1 must be black: a bitmap's set bits are its black pixels.
    const QList<QRgb> table{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    bits.setColorTable(table);
    mask.setColorTable(table);
    bits.fill(0);
    mask.fill(0);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const double v = cdata.at(static_cast<std::size_t>(c) * rows + r);
            if (v == 1 || v == 2) mask.setPixel(c, r, 1);
            if (v == 1) bits.setPixel(c, r, 1);
        }
    int hotRow = 0, hotCol = 0;
    if (hotSpot.numel() >= 2) {
        hotRow = static_cast<int>(std::lround(hotSpot.at(0))) - 1;
        hotCol = static_cast<int>(std::lround(hotSpot.at(1))) - 1;
    }
    return QCursor(QBitmap::fromImage(bits), QBitmap::fromImage(mask), hotCol, hotRow);
}

}  // namespace

FigureWindow::FigureWindow(QtHost& host, Graphics& g, Handle figure)
    : QWidget(nullptr), host_(host), g_(g), h_(figure) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    setObjectName(QStringLiteral("figure"));
    setMouseTracking(true);  // WindowButtonMotionFcn sees motion without a button too
    applyTitle();
    applyColour();
    applyPointer();
    applyGeometry();
    if (enumWord(g_, h_, "Visible") == "on") show();
}

FigureWindow::~FigureWindow() {
    for (auto& [h, view] : controls_) delete view;
}

void FigureWindow::apply(const std::string& p) {
    if (p == "Position" || p == "Units") {
        applyGeometry();
    } else if (p == "Name" || p == "NumberTitle") {
        applyTitle();
    } else if (p == "Color" || p == "Colormap") {
        applyColour();
        update();
    } else if (p == "Pointer" || p == "PointerShapeCData" || p == "PointerShapeHotSpot") {
        applyPointer();
    } else if (p == "Resize") {
        applyGeometry();
    } else if (p == "Visible") {
        const bool visible = enumWord(g_, h_, "Visible") == "on";
        if (visible) {
            applyGeometry();
            show();
        } else {
            hide();
        }
    }
}

void FigureWindow::addControl(Handle control) {
    auto* view = new ControlView(host_, g_, control, h_, this);
    controls_[control] = view;
    view->place(g_.pixelPosition(h_)[3]);
    fitControl(control);
}

ControlView* FigureWindow::control(Handle control) const {
    auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : it->second;
}

void FigureWindow::removeControl(Handle control) {
    auto it = controls_.find(control);
    if (it == controls_.end()) return;
    it->second->deleteLater();  // it may be inside its own signal
    controls_.erase(it);
    fit_.remove(control);
    scheduleMinimum();
}

void FigureWindow::fitControl(Handle control) {
    ControlView* view = this->control(control);
    if (!view || !view->widget() || !g_.isValid(control)) return;
    QSizeF share;
    // Texts of a font that follows the control's height shrink with the window anyway.
    if (enumWord(g_, control, "Units") == "normalized" &&
        enumWord(g_, control, "FontUnits") != "normalized") {
        const std::vector<double> p = g_.get(control, "Position").real();
        if (p.size() == 4) share = QSizeF(p[2], p[3]);
    }
    const QFont font = view->font();
    QFont floor = font;
    floor.setPixelSize(view->floorPixels(font));
    // A text the program itself made smaller than readable gains nothing from a larger window.
    const bool readable = floor.pixelSize() >= readablePixels(g_.screen().pixelsPerInch);
    fit_.set(control, textRoom(view->widget(), font),
             readable ? textRoom(view->widget(), floor) : QSize(), share);
    view->fitFont();
    scheduleMinimum();
}

void FigureWindow::scheduleMinimum() {
    if (minimumDue_) return;
    minimumDue_ = true;
    // Ahead of the paint that the same change asked for.
    QCoreApplication::postEvent(this, new QEvent(kMinimumDue), Qt::HighEventPriority);
}

bool FigureWindow::event(QEvent* event) {
    if (event->type() != kMinimumDue) return QWidget::event(event);
    minimumDue_ = false;
    applyMinimum();
    return true;
}

QSize FigureWindow::screenSize() const {
    const ScreenInfo s = g_.screen();
    return {static_cast<int>(s.width), static_cast<int>(s.height)};
}

QSize FigureWindow::leastSize() const {
    // Within the screen less the desktop's panels and the window's frame: a window forced
    // larger would put its title bar above the screen or its bottom controls under a panel.
    const QSize room = screenRoom(this, applied_, screenSize()).inner().size();
    return fit_.minimum(asked_, room.expandedTo(QSize(1, 1)));
}

void FigureWindow::applyMinimum() {
    if (disposing_ || !g_.isValid(h_) || enumWord(g_, h_, "Resize") == "off") return;
    const QSize least = leastSize();
    if (least == minimumSize()) return;
    const bool applying = applying_;
    applying_ = true;
    setMinimumSize(least);  // Qt enlarges the window where it is smaller
    applying_ = applying;
    followQtSize();
}

void FigureWindow::followQtSize() {
    if (disposing_ || !g_.isValid(h_) || size() == applied_.size()) return;
    // A window grown for its texts stays on the screen, frame and all.
    const QRect grown(applied_.topLeft(), size());
    const QRect r = placedWithin(grown, screenRoom(this, grown, screenSize()));
    if (r != geometry()) {
        const bool applying = applying_;
        applying_ = true;
        setGeometry(r);
        applying_ = applying;
    }
    storeGeometry(r);
}

void FigureWindow::storeGeometry(const QRect& r) {
    applied_ = r;
    const double bottom = screenHeight(g_) - r.y() - r.height();
    g_.setPixelPosition(h_, Rect{double(r.x()), bottom, double(r.width()), double(r.height())});
}

void FigureWindow::layoutControls() {
    const double height = g_.pixelPosition(h_)[3];
    // Only a control whose size changed needs its text fitted: every step of a drag comes here.
    for (auto& [h, view] : controls_)
        if (view->place(height)) view->fitFont();
}

void FigureWindow::dispose() {
    disposing_ = true;
    hide();
    for (auto& [h, view] : controls_) view->deleteLater();
    controls_.clear();
    deleteLater();
}

void FigureWindow::applyGeometry() {
    const QRect asked = toQtRect(g_.pixelPosition(h_), screenHeight(g_));
    QRect r = asked;
    if (asked != applied_) {
        // The program placed the window (what the run-time stores itself equals applied_). A
        // window at the run-time's default place was given no size: its texts decide it.
        const bool byDefault =
            asked == toQtRect(defaultFigurePixels(g_.screen()), screenHeight(g_));
        asked_ = byDefault ? QSize() : asked.size();
        // Its frame too must lie on the screen: the title bar is what moves and closes it.
        r = placedWithin(asked, screenRoom(this, asked, screenSize()));
    }
    applied_ = r;
    applying_ = true;
    if (enumWord(g_, h_, "Resize") == "off") {
        setFixedSize(r.size());
    } else {
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setMinimumSize(leastSize());
    }
    if (geometry() != r) setGeometry(r);
    applying_ = false;
    if (r != asked) {
        // Moved only: the model keeps the size exactly as the program gave it.
        Rect px = g_.pixelPosition(h_);
        px[0] = r.x();
        px[1] = screenHeight(g_) - r.y() - px[3];
        applied_ = toQtRect(px, screenHeight(g_));
        g_.setPixelPosition(h_, px);
    }
    followQtSize();
    layoutControls();
}

void FigureWindow::applyTitle() {
    const QString name = QString::fromStdU16String(
        g_.get(h_, "Name").isChar() ? g_.get(h_, "Name").text16() : std::u16string());
    QString title = name;
    const double h = h_;
    if (enumWord(g_, h_, "NumberTitle") == "on" && h == std::floor(h)) {
        title = QStringLiteral("Figure %1").arg(static_cast<long long>(h));
        if (!name.isEmpty()) title += QStringLiteral(": ") + name;
    }
    setWindowTitle(title);
}

void FigureWindow::applyColour() {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(g_.get(h_, "Color"), QColor(204, 204, 204)));
    setPalette(pal);
}

void FigureWindow::applyPointer() {
    const std::string word = enumWord(g_, h_, "Pointer");
    if (word == "custom")
        setCursor(customCursor(g_.get(h_, "PointerShapeCData"), g_.get(h_, "PointerShapeHotSpot")));
    else
        setCursor(shapeOf(word));
    // The busy pointer must show before a long computation that draws nothing meanwhile; a
    // quick callback's half-made change is not painted with it, as for a drawnow.
    if (isVisible()) host_.flush();
}

void FigureWindow::userMovedOrResized() {
    if (applying_ || disposing_ || !isVisible() || !g_.isValid(h_)) return;
    const QRect r = geometry();
    if (r == applied_) return;  // our own placement: keep the model's exact numbers
    storeGeometry(r);
}

void FigureWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    userMovedOrResized();
    layoutControls();
}

void FigureWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    userMovedOrResized();
}

void FigureWindow::closeEvent(QCloseEvent* event) {
    if (disposing_) {
        event->accept();
        return;
    }
    // The model decides: the window goes when the figure is deleted.
    event->ignore();
    if (!g_.isValid(h_) || !host_.acceptsUserCallback()) return;
    const std::string request = commandText(g_.get(h_, "CloseRequestFcn"));
    if (!request.empty()) {
        g_.setCurrentFigure(h_);
        host_.runUserCallback(request);
    } else {
        const Handle h = h_;
        Graphics& g = g_;
        host_.runAsCallback([&g, h] { g.remove(h); });
    }
}

void FigureWindow::paintEvent(QPaintEvent*) {
    if (disposing_ || !g_.isValid(h_)) return;
    painted_ = true;
    QPainter painter(this);
    try {
        paintModelFigure(painter, host_.scenes(), h_);
    } catch (const std::exception& e) {
        // A figure that cannot be drawn must not take the event loop down with it.
        reportCallbackError(e.what());
    }
}

void FigureWindow::mouseCallback(QMouseEvent* event, const char* property) {
    if (!host_.acceptsUserCallback() || !g_.isValid(h_)) return;
    const std::string code = commandText(g_.get(h_, property));
    if (code.empty()) return;
    const QPointF at = event->position();
    const Handle h = h_;
    Graphics& g = g_;
    QtHost& host = host_;
    host.runAsCallback([&] { g.setPointerPosition(h, at.x(), height() - at.y()); });
    if (g.isValid(h)) host.runUserCallback(code);
}

void FigureWindow::mousePressEvent(QMouseEvent* event) {
    if (host_.acceptsUserCallback() && g_.isValid(h_)) g_.setCurrentFigure(h_);
    if (zoomPress(event)) return;
    mouseCallback(event, "WindowButtonDownFcn");
}

void FigureWindow::mouseMoveEvent(QMouseEvent* event) {
    if (zoomMove(event)) return;
    mouseCallback(event, "WindowButtonMotionFcn");
}

void FigureWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (zoomRelease(event)) return;
    mouseCallback(event, "WindowButtonUpFcn");
}

void FigureWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!host_.acceptsUserCallback() || !g_.isValid(h_) || !zoomIsOn(h_)) {
        mousePressEvent(event);
        return;
    }
    const Handle ax = axesAt(event->position().toPoint());
    if (ax != 0) host_.runAsCallback([ax] { zoomReset(ax); });
}

Handle FigureWindow::axesAt(const QPoint& at) const {
    const double x = at.x(), y = height() - at.y();
    for (Handle k : g_.children(h_)) {  // newest first: the topmost axes wins
        if (g_.type(k) != ObjectType::Axes || g_.get(k, "Visible").text() != "on") continue;
        const Rect r = g_.pixelPosition(k);
        if (x >= r[0] && x <= r[0] + r[2] && y >= r[1] && y <= r[1] + r[3]) return k;
    }
    return 0;
}

bool FigureWindow::zoomPress(QMouseEvent* event) {
    if (!g_.isValid(h_) || !zoomIsOn(h_)) return false;
    if (!host_.acceptsUserCallback() || event->button() != Qt::LeftButton) return true;
    zoomAxes_ = axesAt(event->position().toPoint());
    if (zoomAxes_ == 0) return true;
    zoomStart_ = event->position().toPoint();
    if (!band_) band_ = new QRubberBand(QRubberBand::Rectangle, this);
    band_->setGeometry(QRect(zoomStart_, QSize()));
    band_->show();
    return true;
}

bool FigureWindow::zoomMove(QMouseEvent* event) {
    if (!g_.isValid(h_) || !zoomIsOn(h_)) return false;
    if (zoomAxes_ != 0 && band_)
        band_->setGeometry(QRect(zoomStart_, event->position().toPoint()).normalized());
    return true;
}

bool FigureWindow::zoomRelease(QMouseEvent* event) {
    if (!g_.isValid(h_) || !zoomIsOn(h_)) return false;
    if (band_) band_->hide();
    const Handle ax = zoomAxes_;
    zoomAxes_ = 0;
    if (ax == 0 || !g_.isValid(ax) || !host_.acceptsUserCallback()) return true;
    const QPoint end = event->position().toPoint();
    const Handle fig = h_;
    Graphics& g = g_;
    const int h = height();
    const QPoint start = zoomStart_;
    host_.runAsCallback([&] {
        // The model turns window pixels into the axes' data coordinates.
        g.setPointerPosition(fig, start.x(), h - start.y());
        const auto a = g.get(ax, "CurrentPoint").real();
        g.setPointerPosition(fig, end.x(), h - end.y());
        const auto b = g.get(ax, "CurrentPoint").real();
        // A drag of a few pixels is a click: zoom in by 2 about the point.
        if (std::abs(end.x() - start.x()) < 4 || std::abs(end.y() - start.y()) < 4)
            zoomIn(ax, b[0], b[2]);
        else
            zoomToRect(ax, a[0], a[2], b[0], b[2]);
    });
    return true;
}

}  // namespace rt
