#include "runtime/graphics/ps_font_metrics.h"

#include <array>
#include <cstdint>

#include "runtime/graphics/model.h"

namespace rt {

namespace {

// Advance widths (1/1000 em) of the codes 0x20 ... 0xFF under ISO Latin-1 encoding with "-" as
// the hyphen; from the AFM files of Debian's fonts-urw-base35 (NimbusSans, metric-compatible).
constexpr std::array<std::uint16_t, 224> kHelvetica = {
    278,  278, 355, 556, 556, 889, 667,  222, 333, 333, 389, 584, 278, 333, 278, 278,  // 20
    556,  556, 556, 556, 556, 556, 556,  556, 556, 556, 278, 278, 584, 584, 584, 556,  // 30
    1015, 667, 667, 722, 722, 667, 611,  778, 722, 278, 500, 667, 556, 833, 722, 778,  // 40
    667,  778, 722, 667, 611, 722, 667,  944, 667, 667, 611, 278, 278, 278, 469, 556,  // 50
    222,  556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500, 222, 833, 556, 556,  // 60
    556,  556, 333, 500, 278, 556, 500,  722, 500, 500, 500, 334, 260, 334, 584, 0,    // 70
    0,    0,   0,   0,   0,   0,   0,    0,   0,   0,   0,   0,   0,   0,   0,   0,    // 80
    278,  333, 333, 333, 333, 333, 333,  333, 333, 0,   333, 333, 0,   333, 333, 333,  // 90
    278,  333, 556, 556, 556, 556, 260,  556, 333, 737, 370, 556, 584, 333, 737, 333,  // A0
    400,  584, 333, 333, 333, 556, 537,  278, 333, 333, 365, 556, 834, 834, 834, 611,  // B0
    667,  667, 667, 667, 667, 667, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,  // C0
    722,  722, 778, 778, 778, 778, 778,  584, 778, 722, 722, 722, 722, 667, 667, 611,  // D0
    556,  556, 556, 556, 556, 556, 889,  500, 556, 556, 556, 556, 278, 278, 278, 278,  // E0
    556,  556, 556, 556, 556, 556, 556,  584, 611, 556, 556, 556, 556, 500, 556, 500,  // F0
};
constexpr std::array<std::uint16_t, 224> kHelveticaBold = {
    278, 333, 474, 556, 556, 889, 722,  278, 333, 333, 389, 584, 278, 333, 278, 278,  // 20
    556, 556, 556, 556, 556, 556, 556,  556, 556, 556, 333, 333, 584, 584, 584, 611,  // 30
    975, 722, 722, 722, 722, 667, 611,  778, 722, 278, 556, 722, 611, 833, 722, 778,  // 40
    667, 778, 722, 667, 611, 722, 667,  944, 667, 667, 611, 333, 278, 333, 584, 556,  // 50
    278, 556, 611, 556, 611, 556, 333,  611, 611, 278, 278, 556, 278, 889, 611, 611,  // 60
    611, 611, 389, 556, 333, 611, 556,  778, 556, 556, 500, 389, 280, 389, 584, 0,    // 70
    0,   0,   0,   0,   0,   0,   0,    0,   0,   0,   0,   0,   0,   0,   0,   0,    // 80
    278, 333, 333, 333, 333, 333, 333,  333, 333, 0,   333, 333, 0,   333, 333, 333,  // 90
    278, 333, 556, 556, 556, 556, 280,  556, 333, 737, 370, 556, 584, 333, 737, 333,  // A0
    400, 584, 333, 333, 333, 611, 556,  278, 333, 333, 365, 556, 834, 834, 834, 611,  // B0
    722, 722, 722, 722, 722, 722, 1000, 722, 667, 667, 667, 667, 278, 278, 278, 278,  // C0
    722, 722, 778, 778, 778, 778, 778,  584, 778, 722, 722, 722, 722, 667, 667, 611,  // D0
    556, 556, 556, 556, 556, 556, 889,  556, 556, 556, 556, 556, 278, 278, 278, 278,  // E0
    611, 611, 611, 611, 611, 611, 611,  584, 611, 611, 611, 611, 611, 556, 611, 556,  // F0
};

constexpr double kCourierWidth = 0.6;  // every glyph of Courier

// ISO Latin-1 encoding leaves these codes without a glyph.
bool hasGlyph(char16_t c) {
    return c >= 0x20 && !(c >= 0x7F && c <= 0x8F) && c != 0x99 && c != 0x9C;
}

}  // namespace

PsFamily psFamily(const std::string& fontName) {
    const std::string lower = lowerAscii(fontName);
    return lower == "fixedwidth" || lower == "courier" ? PsFamily::Courier : PsFamily::Helvetica;
}

PsFontMetrics psFontMetrics(PsFamily family) {
    // Height of "H" and depth of "p" in the same files.
    if (family == PsFamily::Courier) return {0.563, 0.182};
    return {0.729, 0.218};
}

double psTextWidth(std::u16string_view text, PsFamily family, bool bold) {
    const auto& table = bold ? kHelveticaBold : kHelvetica;
    double units = 0;
    for (char16_t c : text) {
        if (c > 0xFF) c = u'?';
        if (!hasGlyph(c)) continue;
        units += family == PsFamily::Courier ? kCourierWidth * 1000 : table[c - 0x20];
    }
    return units / 1000;
}

}  // namespace rt
