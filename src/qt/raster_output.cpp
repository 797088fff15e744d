#include "qt/raster_output.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QWidget>
#include <cmath>

#include "qt/axes_painter.h"
#include "qt/qpainter_canvas.h"
#include "qt/url_fetch.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/imread.h"

namespace rt {

namespace {

QString qpath(const std::string& file) { return QString::fromUtf8(file.c_str()); }

const char* qtFormat(const std::string& format) {
    if (format == "bmp") return "BMP";
    if (format == "png") return "PNG";
    if (format == "jpeg") return "JPEG";
    throw Error("No codec for format " + format + ".");
}

}  // namespace

QImage qimageFromValue(const Value& v) {
    const auto& d = v.dims();
    if (!v.isUInt8() || d.size() != 3 || d[2] != 3 || d[0] == 0 || d[1] == 0)
        throw Error("The image must be a uint8 M x N x 3 array.");
    const std::size_t rows = d[0], cols = d[1], plane = rows * cols;
    QImage img(static_cast<int>(cols), static_cast<int>(rows), QImage::Format_RGB888);
    const auto& b = v.bytes();
    for (std::size_t r = 0; r < rows; ++r) {
        uchar* line = img.scanLine(static_cast<int>(r));
        for (std::size_t c = 0; c < cols; ++c) {
            const std::size_t k = c * rows + r;
            line[3 * c] = b[k];
            line[3 * c + 1] = b[k + plane];
            line[3 * c + 2] = b[k + 2 * plane];
        }
    }
    return img;
}

Value valueFromQImage(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB888);
    const std::size_t rows = static_cast<std::size_t>(img.height());
    const std::size_t cols = static_cast<std::size_t>(img.width());
    const std::size_t plane = rows * cols;
    std::vector<std::uint8_t> out(plane * 3);
    for (std::size_t r = 0; r < rows; ++r) {
        const uchar* line = img.constScanLine(static_cast<int>(r));
        for (std::size_t c = 0; c < cols; ++c) {
            const std::size_t k = c * rows + r;
            out[k] = line[3 * c];
            out[k + plane] = line[3 * c + 1];
            out[k + 2 * plane] = line[3 * c + 2];
        }
    }
    return Value::uint8({rows, cols, 3}, std::move(out));
}

ImageData QtImageCodec::decode(const std::string& file, const std::string& format) {
    QImage img;
    if (!img.load(qpath(file), qtFormat(format)))
        throw Error("Unable to read \"" + file + "\" as " + format + ".");
    ImageData out;
    out.image = valueFromQImage(img);
    if (img.hasAlphaChannel()) {
        const QImage a = img.convertToFormat(QImage::Format_ARGB32);
        const std::size_t rows = static_cast<std::size_t>(a.height());
        const std::size_t cols = static_cast<std::size_t>(a.width());
        std::vector<std::uint8_t> alpha(rows * cols);
        for (std::size_t r = 0; r < rows; ++r) {
            const auto* line = reinterpret_cast<const QRgb*>(a.constScanLine(static_cast<int>(r)));
            for (std::size_t c = 0; c < cols; ++c)
                alpha[c * rows + r] = static_cast<std::uint8_t>(qAlpha(line[c]));
        }
        out.alpha = Value::uint8({rows, cols}, std::move(alpha));
    }
    return out;
}

void QtImageCodec::encode(const Value& image, const std::string& file, const std::string& format) {
    const QImage img = qimageFromValue(image);
    // Encoded in memory first, so that the picture replaces an old file only whole.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, qtFormat(format), format == "jpeg" ? 90 : -1))
        throw Error("Unable to write \"" + file + "\" as " + format + ".");
    saveFileAtomically(file,
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QImage renderFigure(const FigureScene& scene, ImageCache* cache) {
    const int w = std::max(1, static_cast<int>(std::ceil(scene.width - 1e-9)));
    const int h = std::max(1, static_cast<int>(std::ceil(scene.height - 1e-9)));
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QPainterCanvas canvas(p);
    paintFigure(canvas, scene, cache);
    p.end();
    return img;
}

Value QtFigureOutput::grab(double figure) {
    if (window_) {
        if (QWidget* w = window_(figure)) return valueFromQImage(w->grab().toImage());
    }
    if (!scene_) throw Error("getframe: the figure has no window to grab.");
    return valueFromQImage(renderFigure(scene_(figure, screenDpi_), cache_));
}

void QtFigureOutput::print(double figure, const std::string& format, double dpi,
                           const std::string& file) {
    if (!scene_) throw Error("print: figures cannot be drawn here.");
    if (format == "eps") {
        if (!paper_) throw Error("print: the figure's paper position is unknown.");
        // At 72 pixels per inch a canvas pixel is a point: the figure maps onto its paper
        // position without rounding, so centimetres on screen stay centimetres on paper.
        writeEps(scene_(figure, 72), paper_(figure), file, cache_);
        return;
    }
    const FigureScene scene = scene_(figure, dpi > 0 ? dpi : screenDpi_);
    imwrite(valueFromQImage(renderFigure(scene, cache_)), file, format);
}

QtFigureOutput& installQtImageOutput() {
    static QtImageCodec codec;
    static QtFigureOutput output;
    setImageCodec(&codec);
    setFigureOutput(&output);
    setUrlFetcher(&fetchUrl);
    return output;
}

}  // namespace rt
