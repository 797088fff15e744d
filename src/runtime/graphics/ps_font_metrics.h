// The standard PostScript metrics of the fonts that EPS output prints: Helvetica and Courier
// with their bold and oblique variants, Latin-1 as EPS re-encodes them. Text measured with
// these lands where the printer puts it, and measuring needs no display or font files.
#pragma once

#include <string>
#include <string_view>

namespace rt {

// Which PostScript family prints a font of the object model: Courier for "FixedWidth" and
// "Courier" (any case), Helvetica for every other name.
enum class PsFamily { Helvetica, Courier };
PsFamily psFamily(const std::string& fontName);

struct PsFontMetrics {
    double capHeight = 0;  // top of the capitals above the baseline, in em
    double descent = 0;    // bottom of the descenders below the baseline, in em (positive)
};
PsFontMetrics psFontMetrics(PsFamily family);

// Advance width of one line of text in em (font size 1), as PostScript's `show` sets it: no
// kerning. Oblique shapes share the upright widths. Characters beyond Latin-1 count as "?"
// (EPS prints them so); codes without a glyph add nothing.
double psTextWidth(std::u16string_view text, PsFamily family, bool bold);

}  // namespace rt
