// The twelve result lines stay readable whatever size the true-scale window takes: no line
// runs into another or past the block's frame, on screen and in the printed file.
#include <fstream>
#include <regex>

#include "kelvora_fixture.h"
#include "runtime/graphics/operations.h"

namespace {

using kelvora_test::KelvoraTest;
using rt::Value;

struct Engine {
    const char *bore, *stroke, *rod, *opening, *transfer, *top, *transferWidth, *r1, *r2;
};

// Left edge and right end (points) of each printed fixed-width line, in drawing order.
std::vector<std::pair<double, double>> printedLines(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    const std::regex text(R"(gsave (\S+) \S+ translate /Courier-L1 findfont (\S+) scalefont .*)");
    const std::regex shown(R"(^\((.*)\) 0 \S+ ashow)");
    std::vector<std::pair<double, double>> out;
    double x = 0, size = 0;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_match(line, m, text)) {
            x = std::stod(m[1]);
            size = std::stod(m[2]);
        } else if (size > 0 && std::regex_search(line, m, shown)) {
            // An octal escape stands for one character.
            const std::string s = std::regex_replace(m[1].str(), std::regex(R"(\\\d{3})"), "#");
            out.push_back({x, x + 0.6 * size * static_cast<double>(s.size())});
            size = 0;
        }
    }
    return out;
}

TEST_F(KelvoraTest, ResultLinesNeitherOverlapNorLeaveTheirFrame) {
    start();
    const Engine engines[] = {
        {"40", "39.2", "80", "12", "26", "26", "25", "5", "8"},   // 50 cc
        {"63", "60", "110", "33", "48", "45", "43", "8", "15"},   // the defaults
        {"89", "80", "150", "38", "56", "60", "56", "10", "15"},  // 500 cc
        {"100", "80", "160", "38", "56", "66", "62", "10", "15"}};
    for (const Engine& e : engines) {
        type("Bore", e.bore);
        type("Stroke", e.stroke);
        type("Rod", e.rod);
        type("ExhaustOpening", e.opening);
        type("ExhaustCloseing", e.stroke);
        type("TransferOpening", e.transfer);
        type("Width@Top", e.top);
        type("Width@Transfer", e.transferWidth);
        type("RadiusUp", e.r1);
        type("RadiusDown", e.r2);
        press("CALCULATE");
        SCOPED_TRACE(e.bore);

        const Value texts = rt::findobj({Value(resultWindow()), Value("Type"), Value("text"),
                                         Value("FontName"), Value("FixedWidth")});
        ASSERT_EQ(texts.numel(), 12u);
        std::vector<std::vector<double>> boxes;
        for (std::size_t i = 0; i < texts.numel(); ++i)
            boxes.push_back(rt::get(Value(texts.at(i)), "Extent").real());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const auto& a = boxes[i];
            EXPECT_GE(a[0], 0);
            EXPECT_LE(a[0] + a[2], 10);
            EXPECT_GE(a[1], 0);
            EXPECT_LE(a[1] + a[3], 7);
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const auto& b = boxes[j];
                const bool apart = a[0] + a[2] <= b[0] || b[0] + b[2] <= a[0] ||
                                   a[1] + a[3] <= b[1] || b[1] + b[3] <= a[1];
                EXPECT_TRUE(apart) << rt::get(Value(texts.at(i)), "String").text() << " / "
                                   << rt::get(Value(texts.at(j)), "String").text();
            }
        }
        const double size = rt::get(Value(texts.at(0)), "FontSize").scalar();
        if (std::string(e.bore) == "100") {
            EXPECT_EQ(size, 10) << "room enough: kept";
        }
        if (std::string(e.bore) == "40") {
            EXPECT_LT(size, 6);
        }

        // On paper: the left column ends before the right one begins, which ends inside the
        // frame (the block's axes spans 0.13 ... 0.905 of the page's width).
        const auto printed = printedLines("print.ps");
        ASSERT_EQ(printed.size(), 12u);
        const auto paper = rt::get(Value(resultWindow()), "PaperPosition").real();
        const double cm = 72 / 2.54, frameRight = (paper[0] + 0.905 * paper[2]) * cm;
        for (int i = 0; i < 6; ++i) EXPECT_LT(printed[i].second, printed[6].first);
        for (int i = 6; i < 12; ++i) EXPECT_LT(printed[i].second, frameRight);
    }
}

}  // namespace
