#include "qt/eps_writer.h"

#include <charconv>
#include <cmath>

#include "qt/axes_painter.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/graphics/ps_font_metrics.h"

namespace rt {

namespace {

// The largest magnitude written: PostScript's integers end here and the BoundingBox needs
// them; readers keep reals in single precision, so a drawing beyond it would be lost anyway.
constexpr double kLargest = 2147483647;

// A number the file cannot hold; writeEps names the file in its message.
class OutOfRange : public Error {
public:
    explicit OutOfRange(double v) : Error(message(v)) {}

private:
    static std::string message(double v) {
        char buf[32];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        return "the figure holds a number PostScript cannot take (" + std::string(buf, res.ptr) +
               ").";
    }
};

double checked(double v) {
    if (!(std::fabs(v) <= kLargest)) throw OutOfRange(v);
    return v;
}

// Locale-independent numbers: the application may run under a decimal-comma locale.
std::string num(double v) {
    // A checked number to three decimals ("-2147483647.000") always fits.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, checked(v), std::chars_format::fixed, 3);
    std::string s(buf, res.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

// Paper within this relative difference of the canvas's proportions is taken as meant to keep
// them: a window a pixel off its exact size must not print stretched.
constexpr double kSameProportions = 5e-3;

const char* fontName(const CanvasFont& f) {
    const bool mono = f.name == "FixedWidth" || f.name == "Courier";
    if (mono) {
        if (f.bold && f.italic) return "/Courier-BoldOblique-L1";
        if (f.bold) return "/Courier-Bold-L1";
        if (f.italic) return "/Courier-Oblique-L1";
        return "/Courier-L1";
    }
    if (f.bold && f.italic) return "/Helvetica-BoldOblique-L1";
    if (f.bold) return "/Helvetica-Bold-L1";
    if (f.italic) return "/Helvetica-Oblique-L1";
    return "/Helvetica-L1";
}

const char* kProlog =
    "%%BeginProlog\n"
    "/reencodeL1 { findfont dup length dict begin\n"
    "  { 1 index /FID ne { def } { pop pop } ifelse } forall\n"
    "  /Encoding ISOLatin1Encoding dup length array copy dup 45 /hyphen put def\n"
    "  currentdict end definefont pop } bind def\n"
    "/Helvetica-L1 /Helvetica reencodeL1\n"
    "/Helvetica-Bold-L1 /Helvetica-Bold reencodeL1\n"
    "/Helvetica-Oblique-L1 /Helvetica-Oblique reencodeL1\n"
    "/Helvetica-BoldOblique-L1 /Helvetica-BoldOblique reencodeL1\n"
    "/Courier-L1 /Courier reencodeL1\n"
    "/Courier-Bold-L1 /Courier-Bold reencodeL1\n"
    "/Courier-Oblique-L1 /Courier-Oblique reencodeL1\n"
    "/Courier-BoldOblique-L1 /Courier-BoldOblique reencodeL1\n"
    "% string halign valign: shows the string aligned about the current origin\n"
    "/ashow { /va exch def /ha exch def dup stringwidth pop ha mul neg va moveto show } bind def\n"
    "%%EndProlog\n";

}  // namespace

std::string psString(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c > 0xFF) c = u'?';
        if (c == u'(' || c == u')' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            buf[0] = '\\';
            buf[1] = static_cast<char>('0' + ((c >> 6) & 7));
            buf[2] = static_cast<char>('0' + ((c >> 3) & 7));
            buf[3] = static_cast<char>('0' + (c & 7));
            out.append(buf, 4);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

EpsCanvas::EpsCanvas(double canvasWidth, double canvasHeight, const Rect& paper,
                     const std::string& title)
    : paper_(paper), title_(title) {
    if (!(canvasWidth > 0) || !(canvasHeight > 0) || !(paper[2] > 0) || !(paper[3] > 0))
        throw Error("print: the figure or its PaperPosition has no size.");
    sx_ = paper[2] / canvasWidth;
    sy_ = paper[3] / canvasHeight;
    left_ = paper[0];
    top_ = paper[1] + paper[3];
    if (std::fabs(sx_ / sy_ - 1) <= kSameProportions) {
        // One scale, the drawing centred on the paper (it differs from the paper by the
        // tolerance at most).
        const double s = std::min(sx_, sy_);
        left_ += (paper[2] - canvasWidth * s) / 2;
        top_ -= (paper[3] - canvasHeight * s) / 2;
        sx_ = sy_ = s;
    }
    size_ = std::sqrt(sx_ * sy_);
}

void EpsCanvas::colour(const Rgb& c) {
    body_ += num(c[0]) + " " + num(c[1]) + " " + num(c[2]) + " setrgbcolor\n";
}

void EpsCanvas::path(const std::vector<PointF>& pts) {
    body_ += "newpath ";
    for (std::size_t i = 0; i < pts.size(); ++i) {
        body_ += num(X(pts[i].x)) + " " + num(Y(pts[i].y)) + (i == 0 ? " moveto\n" : " lineto\n");
    }
}

void EpsCanvas::pushClip(const RectF& r) {
    ++clipDepth_;
    body_ += "gsave newpath " + num(X(r.left)) + " " + num(Y(r.bottom())) + " " +
             num(r.width * sx_) + " " + num(r.height * sy_) + " rectclip\n";
}

void EpsCanvas::popClip() {
    if (clipDepth_ == 0) return;
    --clipDepth_;
    body_ += "grestore\n";
}

void EpsCanvas::drawPolyline(const std::vector<PointF>& pts, const Pen& pen) {
    if (pts.size() < 2) return;
    colour(pen.color);
    const double w = pen.width * size_;
    body_ += num(w) + " setlinewidth ";
    switch (pen.dash) {
        case Dash::Solid:
            body_ += "[] 0 setdash\n";
            break;
        case Dash::Dashed:
            body_ +=
                "[" + num(6 * std::max(w, 0.5)) + " " + num(4 * std::max(w, 0.5)) + "] 0 setdash\n";
            break;
        case Dash::Dotted:
            body_ +=
                "[" + num(std::max(w, 0.5)) + " " + num(3 * std::max(w, 0.5)) + "] 0 setdash\n";
            break;
        case Dash::DashDot:
            body_ += "[" + num(6 * std::max(w, 0.5)) + " " + num(3 * std::max(w, 0.5)) + " " +
                     num(std::max(w, 0.5)) + " " + num(3 * std::max(w, 0.5)) + "] 0 setdash\n";
            break;
    }
    path(pts);
    body_ += "stroke\n";
}

void EpsCanvas::fillPolygon(const std::vector<PointF>& pts, const Rgb& fill) {
    if (pts.size() < 3) return;
    colour(fill);
    path(pts);
    body_ += "closepath eofill\n";
}

void EpsCanvas::fillRect(const RectF& r, const Rgb& fill) {
    colour(fill);
    body_ += num(X(r.left)) + " " + num(Y(r.bottom())) + " " + num(r.width * sx_) + " " +
             num(r.height * sy_) + " rectfill\n";
}

void EpsCanvas::drawMarkers(const std::vector<PointF>& pts, MarkerShape shape, double size,
                            const Rgb* edge, const Rgb* face, double lineWidth) {
    if (shape == MarkerShape::Point) {
        if (!edge) return;
        colour(*edge);
        const double r = std::max(size, 1.0) / 2 * size_;
        for (const PointF& p : pts)
            body_ +=
                "newpath " + num(X(p.x)) + " " + num(Y(p.y)) + " " + num(r) + " 0 360 arc fill\n";
        return;
    }
    const double w = size * size_, h = w;
    if (face) {
        colour(*face);
        for (const PointF& p : pts)
            body_ += num(X(p.x) - w / 2) + " " + num(Y(p.y) - h / 2) + " " + num(w) + " " + num(h) +
                     " rectfill\n";
    }
    if (edge) {
        colour(*edge);
        body_ += num(lineWidth * size_) + " setlinewidth [] 0 setdash\n";
        for (const PointF& p : pts)
            body_ += num(X(p.x) - w / 2) + " " + num(Y(p.y) - h / 2) + " " + num(w) + " " + num(h) +
                     " rectstroke\n";
    }
}

void EpsCanvas::drawText(const PointF& at, const std::u16string& text, const CanvasFont& font,
                         const Rgb& color, double rotation, HAlign h, VAlign v) {
    const double size = font.pixelSize * size_;
    const PsFontMetrics m = psFontMetrics(psFamily(font.name));
    double va = 0;  // baseline offset, upwards in points
    switch (v) {
        case VAlign::Top:
        case VAlign::Cap:
            va = -m.capHeight * size;
            break;
        case VAlign::Middle:
            va = -(m.capHeight - m.descent) / 2 * size;
            break;
        case VAlign::Baseline:
            va = 0;
            break;
        case VAlign::Bottom:
            va = m.descent * size;
            break;
    }
    const char* ha = h == HAlign::Left ? "0" : h == HAlign::Center ? "0.5" : "1";
    body_ += "gsave " + num(X(at.x)) + " " + num(Y(at.y)) + " translate ";
    if (rotation != 0) body_ += num(rotation) + " rotate ";
    body_ += std::string(fontName(font)) + " findfont " + num(size) + " scalefont setfont ";
    colour(color);
    body_ += "(" + psString(text) + ") " + ha + " " + num(va) + " ashow grestore\n";
}

TextSize EpsCanvas::measureText(const std::u16string& text, const CanvasFont& font) {
    const PsFamily family = psFamily(font.name);
    const PsFontMetrics m = psFontMetrics(family);
    const double em = font.pixelSize;
    return {psTextWidth(text, family, font.bold) * em, m.capHeight * em, m.descent * em};
}

void EpsCanvas::drawImage(const PointF& first, const PointF& last, const ArgbImage& img) {
    if (img.width <= 0 || img.height <= 0) return;
    const double x0 = X(first.x), y0 = Y(first.y), x1 = X(last.x), y1 = Y(last.y);
    // Unit square -> image area; the image matrix walks rows from the first one at (x0, y0).
    body_ += "gsave " + num(x0) + " " + num(y0) + " translate " + num(x1 - x0) + " " +
             num(y1 - y0) + " scale\n";
    body_ += "/DeviceRGB setcolorspace\n<< /ImageType 1 /Width " + std::to_string(img.width) +
             " /Height " + std::to_string(img.height) +
             " /BitsPerComponent 8 /Decode [0 1 0 1 0 1] /ImageMatrix [" +
             std::to_string(img.width) + " 0 0 " + std::to_string(img.height) +
             " 0 0] /DataSource currentfile /ASCIIHexDecode filter >> image\n";
    static const char* hex = "0123456789abcdef";
    std::string line;
    int n = 0;
    for (std::uint32_t p : img.pixels) {
        // Transparent cells print as white paper.
        const bool clear = (p >> 24) == 0;
        for (int shift : {16, 8, 0}) {
            const unsigned b = clear ? 255u : (p >> shift) & 0xFFu;
            line += hex[b >> 4];
            line += hex[b & 15];
        }
        if (++n % 24 == 0) {
            body_ += line + "\n";
            line.clear();
        }
    }
    body_ += line + ">\ngrestore\n";
}

std::string EpsCanvas::finish() {
    while (clipDepth_ > 0) popClip();
    const double l = paper_[0], b = paper_[1];
    const double r = paper_[0] + paper_[2], t = paper_[1] + paper_[3];
    std::string out = "%!PS-Adobe-3.0 EPSF-3.0\n";
    const auto whole = [](double v) { return std::to_string(std::lround(checked(v))); };
    out += "%%BoundingBox: " + whole(std::floor(l)) + " " + whole(std::floor(b)) + " " +
           whole(std::ceil(r)) + " " + whole(std::ceil(t)) + "\n";
    out += "%%HiResBoundingBox: " + num(l) + " " + num(b) + " " + num(r) + " " + num(t) + "\n";
    out += "%%Creator: rovantel\n";
    if (!title_.empty()) {
        std::string t;
        for (char c : title_) t += (c >= 0x20 && c < 0x7F) ? c : '?';
        out += "%%Title: " + t + "\n";
    }
    out += "%%LanguageLevel: 2\n%%DocumentData: Clean7Bit\n%%Pages: 1\n%%EndComments\n";
    out += kProlog;
    out += "%%Page: 1 1\nsave\n1 setlinejoin 0 setlinecap\n";
    out += body_;
    out += "restore\nshowpage\n%%Trailer\n%%EOF\n";
    return out;
}

void writeEps(const FigureScene& scene, const Rect& paper, const std::string& file,
              ImageCache* cache) {
    EpsCanvas canvas(scene.width, scene.height, paper);
    std::string bytes;
    try {
        paintFigure(canvas, scene, cache);
        bytes = canvas.finish();
    } catch (const OutOfRange& e) {
        throw Error("Cannot write \"" + file + "\": " + e.what());
    }
    saveFileAtomically(file, bytes);
}

}  // namespace rt
