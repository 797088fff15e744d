#include "runtime/graphics/ps_font_metrics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

// Ghostscript's own advance width (1/1000 em) of `octal` (a PostScript string body) in the
// font re-encoded to ISO Latin-1 with "-" as the hyphen, as EPS output prints it.
std::vector<double> ghostscriptWidths(const std::string& font,
                                      const std::vector<std::string>& strings) {
    std::string ps = "/" + font + " findfont dup length dict begin " +
                     "{ 1 index /FID ne { def } { pop pop } ifelse } forall " +
                     "/Encoding ISOLatin1Encoding dup length array copy dup 45 /hyphen put def " +
                     "currentdict end /L1 exch definefont 1000 scalefont setfont ";
    for (const std::string& s : strings) ps += "(" + s + ") stringwidth pop ==\n";
    const testsupport::TempDir dir("ps_metrics");
    const std::string file = dir.file("widths.ps");
    std::ofstream(file) << ps;
    const std::string cmd = "gs -q -dNODISPLAY -dBATCH -dNOPAUSE -dSAFER " + file;
    std::vector<double> out;
    if (FILE* pipe = popen(cmd.c_str(), "r")) {
        std::array<char, 256> line{};
        while (fgets(line.data(), line.size(), pipe)) out.push_back(std::stod(line.data()));
        pclose(pipe);
    }
    return out;
}

TEST(PsFontMetrics, WidthsAgreeWithTheInterpreterThatPrintsThem) {
    // Texts the windows print: labels, result lines with degree and superscript two, and a
    // sweep over the Latin-1 letters.
    const std::vector<std::pair<std::u16string, std::string>> texts = {
        {u"Port-Map", "Port-Map"},
        {u"Timing Exhaust    : 184.45\u00b0 /33mm", "Timing Exhaust    : 184.45\\260 /33mm"},
        {u"Total Area: 1051.84mm\u00b2", "Total Area: 1051.84mm\\262"},
        {u"AWAY Tea 'quoted' `x` 0123456789 {|}~", "AWAY Tea 'quoted' `x` 0123456789 {|}~"},
        {u"\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df\u00e9\u00e8\u00e0\u00ea\u00bf\u00a9\u00d7",
         "\\304\\326\\334\\344\\366\\374\\337\\351\\350\\340\\352\\277\\251\\327"},
    };
    std::vector<std::string> bodies;
    for (const auto& t : texts) bodies.push_back(t.second);
    ASSERT_TRUE(testsupport::toolInstalled("gs", "ghostscript"));
    struct Face {
        const char* name;
        rt::PsFamily family;
        bool bold;
    };
    for (const Face& f : {Face{"Helvetica", rt::PsFamily::Helvetica, false},
                          Face{"Helvetica-Bold", rt::PsFamily::Helvetica, true},
                          Face{"Helvetica-Oblique", rt::PsFamily::Helvetica, false},
                          Face{"Courier", rt::PsFamily::Courier, false},
                          Face{"Courier-BoldOblique", rt::PsFamily::Courier, true}}) {
        const std::vector<double> gs = ghostscriptWidths(f.name, bodies);
        ASSERT_EQ(gs.size(), texts.size()) << "Ghostscript must be installed: " << f.name;
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_NEAR(rt::psTextWidth(texts[i].first, f.family, f.bold) * 1000, gs[i], 0.5)
                << f.name << " " << texts[i].second;
    }
}

TEST(PsFontMetrics, FamiliesAndCharactersBeyondLatin1) {
    EXPECT_EQ(rt::psFamily("FixedWidth"), rt::PsFamily::Courier);
    EXPECT_EQ(rt::psFamily("courier"), rt::PsFamily::Courier);
    EXPECT_EQ(rt::psFamily("Helvetica"), rt::PsFamily::Helvetica);
    EXPECT_EQ(rt::psFamily("Arial"), rt::PsFamily::Helvetica);
    // EPS prints a character beyond Latin-1 as "?", so it measures as one.
    EXPECT_DOUBLE_EQ(rt::psTextWidth(u"a\u20acb", rt::PsFamily::Helvetica, false),
                     rt::psTextWidth(u"a?b", rt::PsFamily::Helvetica, false));
    EXPECT_DOUBLE_EQ(rt::psTextWidth(u"", rt::PsFamily::Courier, false), 0);
    const rt::PsFontMetrics h = rt::psFontMetrics(rt::PsFamily::Helvetica);
    const rt::PsFontMetrics c = rt::psFontMetrics(rt::PsFamily::Courier);
    EXPECT_GT(h.capHeight, c.capHeight);  // Courier's capitals are smaller for their size
    EXPECT_GT(h.descent, 0);
}

}  // namespace
