// The one layout of a text block: which lines a String shows, and where each line and the
// whole block lie around the text's anchor for an alignment and a rotation. The object model
// answers Extent with it and the painter places what it draws with it, so the two agree.
// Pure: the font is measured by whoever draws (the screen's metrics, a printer's tables).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "runtime/host.h"
#include "runtime/value/value.h"

namespace rt {

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Cap, Middle, Baseline, Bottom };

// HorizontalAlignment / VerticalAlignment words ("left", "center", ...); others give Left
// and Middle.
HAlign hAlignFromName(const std::string& word);
VAlign vAlignFromName(const std::string& word);

// One line of text in some font, in the measurer's length unit.
struct TextSize {
    double width = 0;
    double ascent = 0;   // above the baseline
    double descent = 0;  // below the baseline
};

// Measures one line in the block's font. Called once per line.
using LineMeasure = std::function<TextSize(const std::u16string& line)>;

// The installed host's metrics of `font`, in pixels of `pixelsPerInch`.
LineMeasure hostLineMeasure(const FontSpec& font, double pixelsPerInch);

// The lines a String shows: the rows of a char matrix, the texts of a cell (other elements
// are skipped), a number as num2str writes it; a line feed starts a new line. Trailing
// blanks (a char matrix's padding) are dropped. Empty for [] and ''.
std::vector<std::u16string> textLines(const Value& string);

struct TextBlock {
    struct Line {
        std::u16string text;
        double x = 0, y = 0;  // the point of its baseline at the block's alignment column
        double width = 0;
    };
    std::vector<Line> lines;  // top to bottom in the text's own frame
    double width = 0;         // the widest line
    double height = 0;        // lines stacked at ascent + descent each
    // The box around the turned block: left, bottom, width, height.
    double boxLeft = 0, boxBottom = 0, boxWidth = 0, boxHeight = 0;
};

// Lays out `lines` around an anchor at (0, 0), x to the right and y upwards, turned by
// `rotation` degrees counter-clockwise about the anchor. The whole block is aligned: each
// line is drawn with alignment `h` at its Line point, on its baseline. No lines: an empty
// block at the anchor.
TextBlock layoutText(const std::vector<std::u16string>& lines, HAlign h, VAlign v, double rotation,
                     const LineMeasure& measure);

}  // namespace rt
