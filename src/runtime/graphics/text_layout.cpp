#include "runtime/graphics/text_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "runtime/value/num2str.h"

namespace rt {

namespace {

void addSplit(std::vector<std::u16string>& out, const std::u16string& text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(u'\n', start);
        std::u16string line = text.substr(start, end == std::u16string::npos ? end : end - start);
        while (!line.empty() && line.back() == u' ') line.pop_back();
        out.push_back(std::move(line));
        if (end == std::u16string::npos) return;
        start = end + 1;
    }
}

}  // namespace

HAlign hAlignFromName(const std::string& s) {
    return s == "center" ? HAlign::Center : s == "right" ? HAlign::Right : HAlign::Left;
}

VAlign vAlignFromName(const std::string& s) {
    if (s == "top") return VAlign::Top;
    if (s == "cap") return VAlign::Cap;
    if (s == "baseline") return VAlign::Baseline;
    if (s == "bottom") return VAlign::Bottom;
    return VAlign::Middle;
}

LineMeasure hostLineMeasure(const FontSpec& font, double pixelsPerInch) {
    const double k = pixelsPerInch / 72.0;
    return [font, k](const std::u16string& line) {
        const TextMetrics m = host().measureText(utf8(line), font);
        return TextSize{m.width * k, m.ascent * k, m.descent * k};
    };
}

std::vector<std::u16string> textLines(const Value& s) {
    std::vector<std::u16string> out;
    if (s.isEmpty()) return out;
    if (s.isChar()) {
        for (std::size_t r = 0; r < s.rows(); ++r) addSplit(out, s.rowText(r));
    } else if (s.isCell()) {
        for (const Value& c : s.cells())
            if (c.isChar()) addSplit(out, c.isEmpty() ? std::u16string() : c.text16());
    } else if (s.isNumeric() || s.isLogical()) {
        const Value t = num2str(s);
        for (std::size_t r = 0; r < t.rows(); ++r) addSplit(out, t.rowText(r));
    }
    return out;
}

TextBlock layoutText(const std::vector<std::u16string>& lines, HAlign h, VAlign v, double rotation,
                     const LineMeasure& measure) {
    TextBlock b;
    if (lines.empty()) return b;
    double ascent = 0, descent = 0;
    b.lines.reserve(lines.size());
    for (const auto& l : lines) {
        const TextSize ts = measure(l);
        b.lines.push_back({l, 0, 0, ts.width});
        b.width = std::max(b.width, ts.width);
        ascent = std::max(ascent, ts.ascent);
        descent = std::max(descent, ts.descent);
    }
    const double lineHeight = ascent + descent;
    b.height = lineHeight * static_cast<double>(lines.size());
    // How far the block's top edge lies above the anchor.
    double top = 0;
    switch (v) {
        case VAlign::Top:
            top = 0;
            break;
        case VAlign::Cap:
            top = 0.1 * ascent;
            break;
        case VAlign::Middle:
            top = b.height / 2;
            break;
        case VAlign::Baseline:
            top = b.height - descent;
            break;
        case VAlign::Bottom:
            top = b.height;
            break;
    }
    const double rad = rotation * std::numbers::pi / 180;
    const double c = std::cos(rad), s = std::sin(rad);
    // Text frame (u along the reading direction, w upwards) to the turned frame.
    auto turn = [&](double u, double w, double& x, double& y) {
        x = u * c - w * s;
        y = u * s + w * c;
    };
    for (std::size_t i = 0; i < b.lines.size(); ++i) {
        const double baseline = top - ascent - lineHeight * static_cast<double>(i);
        turn(0, baseline, b.lines[i].x, b.lines[i].y);
    }
    double u0 = 0;
    if (h == HAlign::Center) u0 = -b.width / 2;
    if (h == HAlign::Right) u0 = -b.width;
    double l = std::numeric_limits<double>::infinity(), r = -l, bottom = l, up = -l;
    for (double u : {u0, u0 + b.width})
        for (double w : {top, top - b.height}) {
            double x, y;
            turn(u, w, x, y);
            l = std::min(l, x);
            r = std::max(r, x);
            bottom = std::min(bottom, y);
            up = std::max(up, y);
        }
    b.boxLeft = l;
    b.boxBottom = bottom;
    b.boxWidth = r - l;
    b.boxHeight = up - bottom;
    return b;
}

}  // namespace rt
