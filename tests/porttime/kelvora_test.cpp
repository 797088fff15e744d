// kelvora's start, its input window and the print-file chooser.
#include "porttime/kelvora.h"

#include <filesystem>

#include "kelvora_fixture.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"

namespace {

using kelvora_test::KelvoraTest;
using rt::Value;
namespace fs = std::filesystem;

TEST(KelvoraTable, EightFunctionsInOrderWithTheirCounts) {
    const rt::FunctionTable t = porttime::kelvora_function_table();
    const struct {
        const char* name;
        int nin, nout;
    } want[] = {{"kelvora", 0, 0},  {"calc_auslass", 0, 0}, {"get_pdf_file", 0, 0},
                {"imagesc", -1, 1}, {"imread", -1, 3},      {"clf", -1, 1},
                {"subplot", 4, 1},  {"isdir", 1, 1}};
    ASSERT_EQ(t.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(t.entries()[i].name, want[i].name);
        EXPECT_EQ(t.entries()[i].nin, want[i].nin) << want[i].name;
        EXPECT_EQ(t.entries()[i].nout, want[i].nout) << want[i].name;
    }
}

TEST_F(KelvoraTest, InputWindowWithItsControlsAndTheSketch) {
    rt::figure({Value("Tag"), Value("left over")});
    start();
    EXPECT_TRUE(shell::tagged("left over").isEmpty()) << "start closes every figure";
    const Value main = shell::tagged("Main Figure");
    ASSERT_EQ(main.numel(), 1u);
    const rt::Handle fig = main.scalar();
    EXPECT_EQ(rt::get(main, "Name").text(), "Kelvora");
    EXPECT_EQ(rt::get(main, "NumberTitle").text(), "off");

    // The 36 controls in the order they were made (children are newest first).
    const Value kids = rt::findobj({main, Value("Type"), Value("uicontrol")});
    ASSERT_EQ(kids.numel(), 36u);
    std::vector<rt::Handle> c;
    for (std::size_t i = kids.numel(); i-- > 0;) c.push_back(kids.at(i));
    auto at = [&](int n) { return Value(c[static_cast<std::size_t>(n - 1)]); };
    const struct {
        int n;
        const char* style;
        const char* tag;
        const char* string;
        std::vector<double> pos;
    } rows[] = {
        {1, "frame", "", "", {0.03, 0.69, 0.43, 0.24}},
        {3, "text", "", "Barrel Data", {0.04, 0.91, 0.28, 0.03}},
        {5, "edit", "Bore", "63", {0.3, 0.85, 0.15, 0.05}},
        {7, "edit", "Stroke", "60", {0.3, 0.8, 0.15, 0.05}},
        {9, "edit", "Rod", "110", {0.3, 0.75, 0.15, 0.05}},
        {10, "text", "", "Target RPM:", {0.035, 0.71, 0.25, 0.03}},
        {11, "edit", "RPM", "7500", {0.3, 0.7, 0.15, 0.05}},
        {13, "frame", "", "", {0.03, 0.62, 0.43, 0.05}},
        {16, "edit", "ExhaustOpening", "33", {0.3, 0.57, 0.15, 0.05}},
        {17, "text", "", "Exhaust Closeing:", {0.035, 0.53, 0.25, 0.03}},
        {18, "edit", "ExhaustCloseing", "60", {0.3, 0.52, 0.15, 0.05}},
        {20, "edit", "TransferOpening", "48", {0.3, 0.47, 0.15, 0.05}},
        {22, "edit", "Width@Top", "45", {0.3, 0.42, 0.15, 0.05}},
        {24, "edit", "Width@Transfer", "43", {0.3, 0.37, 0.15, 0.05}},
        {26, "edit", "RadiusUp", "8", {0.3, 0.32, 0.15, 0.05}},
        {28, "edit", "RadiusDown", "15", {0.3, 0.27, 0.15, 0.05}},
        {29, "text", "", "Rounding (r3):", {0.035, 0.23, 0.25, 0.03}},
        {30, "edit", "UpperRounding", "0", {0.3, 0.22, 0.15, 0.05}},
        {33, "text", "", "Print into File", {0.04, 0.16, 0.28, 0.03}},
        {34, "edit", "PrintFile", "print.ps", {0.035, 0.1, 0.365, 0.05}},
        {35, "pushbutton", "", "...", {0.41, 0.1, 0.04, 0.05}},
        {36, "pushbutton", "", "CALCULATE", {0.03, 0.025, 0.43, 0.05}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE("control " + std::to_string(r.n));
        EXPECT_EQ(rt::get(at(r.n), "Style").text(), r.style);
        EXPECT_EQ(rt::get(at(r.n), "Tag").text(), r.tag);
        EXPECT_EQ(rt::get(at(r.n), "String").text(), r.string);
        EXPECT_EQ(rt::get(at(r.n), "Units").text(), "normalized");
        EXPECT_EQ(rt::get(at(r.n), "Position").real(), r.pos);
    }
    for (int n : {4, 10, 17, 29}) EXPECT_EQ(rt::get(at(n), "HorizontalAlignment").text(), "left");
    for (int n : {5, 18, 34}) EXPECT_EQ(rt::get(at(n), "HorizontalAlignment").text(), "right");
    EXPECT_EQ(rt::get(at(35), "Callback").text(), "get_pdf_file;");
    EXPECT_EQ(rt::get(at(36), "Callback").text(), "calc_auslass;");
    EXPECT_EQ(rt::get(at(36), "HorizontalAlignment").text(), "center");

    // The sketch, as read, in the right half without ticks.
    const Value img = rt::findobj({main, Value("Type"), Value("image")});
    ASSERT_EQ(img.numel(), 1u);
    EXPECT_EQ(rt::get(img, "CData").dims(), (std::vector<std::size_t>{4, 5, 3}));
    const Value ax = Value(rt::graphics().parent(img.scalar()));
    EXPECT_EQ(rt::get(ax, "Position").real(), (std::vector<double>{0.47, 0.1, 0.52, 0.85}));
    EXPECT_TRUE(rt::get(ax, "XTick").isEmpty());
    EXPECT_TRUE(rt::get(ax, "YTick").isEmpty());
    EXPECT_EQ(rt::graphics().currentFigure(), fig);
}

TEST_F(KelvoraTest, AMissingSketchStopsTheStartWithTheWindowBuilt) {
    try {
        interp_->eval("kelvora");
        ADD_FAILURE() << "the start must fail without the sketch";
    } catch (const rt::Error& e) {
        EXPECT_EQ(std::string(e.what()), "File \"auslassmassen.png\" does not exist.");
    }
    const Value main = shell::tagged("Main Figure");
    ASSERT_EQ(main.numel(), 1u);
    EXPECT_EQ(rt::findobj({main, Value("Type"), Value("uicontrol")}).numel(), 36u);
    EXPECT_TRUE(rt::findobj({main, Value("Type"), Value("image")}).isEmpty());
}

TEST_F(KelvoraTest, PrintFileChooserOpensInTheFieldsFolder) {
    start();
    fs::create_directories("plots");
    const std::string here = rt::pwd();
    // No folder part: the working folder; the answer becomes the field's text.
    dialogs_.answerPutFile(rt::FileChoice{"port.ps", here + "/plots/"});
    press("...");
    ASSERT_EQ(dialogs_.shown().size(), 1u);
    EXPECT_EQ(dialogs_.shown()[0].title, "Print File Name");
    EXPECT_EQ(dialogs_.shown()[0].folder, fs::path(here));
    ASSERT_EQ(dialogs_.shown()[0].filters.size(), 2u);
    EXPECT_EQ(dialogs_.shown()[0].filters[0].pattern, "*.ps");
    EXPECT_EQ(dialogs_.shown()[0].filters[0].description, "PS Files");
    EXPECT_EQ(dialogs_.shown()[0].filters[1].pattern, "*.*");
    EXPECT_EQ(dialogs_.shown()[0].filters[1].description, "All Files");
    EXPECT_EQ(rt::utf8(shell::string_of("PrintFile")), here + "/plots/port.ps");
    EXPECT_EQ(rt::pwd(), here);

    // A folder that exists: the dialog opens there; cancelling changes nothing.
    dialogs_.answerPutFile(std::nullopt);
    press("...");
    EXPECT_EQ(dialogs_.shown()[1].folder, fs::path(here) / "plots");
    EXPECT_EQ(rt::utf8(shell::string_of("PrintFile")), here + "/plots/port.ps");
    EXPECT_EQ(rt::pwd(), here);

    // A text ending in a separator; and a folder that does not exist (ignored).
    type("PrintFile", "plots/");
    dialogs_.answerPutFile(std::nullopt);
    press("...");
    EXPECT_EQ(dialogs_.shown()[2].folder, fs::path(here) / "plots");
    type("PrintFile", "nowhere/print.ps");
    dialogs_.answerPutFile(std::nullopt);
    press("...");
    EXPECT_EQ(dialogs_.shown()[3].folder, fs::path(here));
    EXPECT_EQ(rt::utf8(shell::string_of("PrintFile")), "nowhere/print.ps");
    EXPECT_EQ(rt::pwd(), here);
}

}  // namespace
