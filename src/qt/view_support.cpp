#include "qt/view_support.h"

#include <QFontDatabase>
#include <cmath>

namespace rt {

QColor toQColor(const Value& rgb, QColor fallback) {
    if (!(rgb.isDouble() && rgb.numel() == 3)) return fallback;
    auto channel = [&](std::size_t i) {
        return std::clamp(static_cast<int>(std::lround(rgb.at(i) * 255.0)), 0, 255);
    };
    return QColor(channel(0), channel(1), channel(2));
}

QStringList displayRows(const Value& text) {
    QStringList rows;
    if (text.isChar()) {
        // Views must not throw: a text too large to list shows as nothing.
        if (text.numel() == 0 && text.rows() > Value::kMaxListedRows) return rows;
        for (const std::u16string& r : text.rowTexts()) {
            QString s = QString::fromStdU16String(r);
            while (s.endsWith(u' ')) s.chop(1);
            rows << s;
        }
    } else if (text.isCell()) {
        for (const Value& item : text.cells())
            rows << (item.isChar() ? QString::fromStdU16String(item.text16()) : QString());
    }
    return rows;
}

std::string commandText(const Value& command) {
    return command.isChar() ? command.text() : std::string();
}

std::string enumWord(Graphics& g, Handle h, const char* property) {
    Value v = g.get(h, property);
    return v.isChar() ? v.text() : std::string();
}

QFont fontOf(Graphics& g, Handle h, double heightPx) {
    const std::string name = g.get(h, "FontName").text();
    QFont f = name == "FixedWidth" ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                   : QFont(QString::fromStdString(name));
    const double size = g.get(h, "FontSize").scalar();
    const std::string units = enumWord(g, h, "FontUnits");
    const double ppi = g.screen().pixelsPerInch;
    double px = -1;
    if (units == "pixels")
        px = size;
    else if (units == "inches")
        px = size * ppi;
    else if (units == "centimeters")
        px = size / 2.54 * ppi;
    else if (units == "normalized")
        px = size * heightPx;
    if (px > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(px))));
    else if (size > 0)
        f.setPointSizeF(size);
    const std::string weight = enumWord(g, h, "FontWeight");
    f.setBold(weight == "bold" || weight == "demi");
    f.setItalic(enumWord(g, h, "FontAngle") != "normal");
    return f;
}

QRect toQtRect(const Rect& px, double parentHeight) {
    const int x = static_cast<int>(std::lround(px[0]));
    const int w = std::max(0, static_cast<int>(std::lround(px[2])));
    const int h = std::max(0, static_cast<int>(std::lround(px[3])));
    const int y = static_cast<int>(std::lround(parentHeight - px[1] - px[3]));
    return QRect(x, y, w, h);
}

}  // namespace rt
