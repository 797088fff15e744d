#include "porttime/kelvora.h"

#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/imread.h"
#include "signal/imagesc.h"

namespace porttime {

namespace {

const rt::Prop left{"HorizontalAlignment", "left"};
const rt::Prop right{"HorizontalAlignment", "right"};

// A group: its frame, the header's frame and the header's text.
void group(rt::Handle fig, const rt::Rect& frame, double headerBottom, const char* title) {
    rt::makeControl(fig, "frame", frame);
    rt::makeControl(fig, "frame", {0.03, headerBottom, 0.43, 0.05});
    rt::makeControl(fig, "text", {0.04, headerBottom + 0.01, 0.28, 0.03},
                    {{"String", title}, left});
}

// A label and its field, the field at `bottom`.
void field(rt::Handle fig, double bottom, const char* label, const char* tag, const char* value) {
    rt::makeControl(fig, "text", {0.035, bottom + 0.01, 0.25, 0.03}, {{"String", label}, left});
    rt::makeControl(fig, "edit", {0.3, bottom, 0.15, 0.05},
                    {{"Tag", tag}, {"String", value}, right});
}

}  // namespace

void kelvora() {
    rt::setProps(0.0, {{"DefaultFigurePaperType", "A4"},
                       {"DefaultFigureUnits", "centimeters"},
                       {"DefaultFigurePaperUnits", "centimeters"}});
    rt::close({"all"});
    const rt::Handle fig =
        rt::makeFigure({{"NumberTitle", "off"}, {"Name", "Kelvora"}, {"Tag", "Main Figure"}});
    rt::setProps(0.0, {{"DefaultUIcontrolUnits", "normalized"}});

    group(fig, {0.03, 0.69, 0.43, 0.24}, 0.9, "Barrel Data");
    field(fig, 0.85, "Bore:", "Bore", "63");
    field(fig, 0.8, "Stroke:", "Stroke", "60");
    field(fig, 0.75, "Rod:", "Rod", "110");
    field(fig, 0.7, "Target RPM:", "RPM", "7500");

    group(fig, {0.03, 0.21, 0.43, 0.44}, 0.62, "Port Data");
    field(fig, 0.57, "Exhaust Opening:", "ExhaustOpening", "33");
    field(fig, 0.52, "Exhaust Closeing:", "ExhaustCloseing", "60");
    field(fig, 0.47, "Transfer Opening:", "TransferOpening", "48");
    field(fig, 0.42, "Width at Top:", "Width@Top", "45");
    field(fig, 0.37, "Width at Transfer:", "Width@Transfer", "43");
    field(fig, 0.32, "Upper Radius (r1):", "RadiusUp", "8");
    field(fig, 0.27, "Lower Radius (r2):", "RadiusDown", "15");
    field(fig, 0.22, "Rounding (r3):", "UpperRounding", "0");

    group(fig, {0.03, 0.09, 0.43, 0.11}, 0.15, "Print into File");
    rt::makeControl(fig, "edit", {0.035, 0.1, 0.365, 0.05},
                    {{"Tag", "PrintFile"}, {"String", "print.ps"}, right});
    rt::makeControl(fig, "pushbutton", {0.41, 0.1, 0.04, 0.05},
                    {{"String", "..."}, {"CallBack", "get_pdf_file;"}});
    rt::makeControl(fig, "pushbutton", {0.03, 0.025, 0.43, 0.05},
                    {{"String", "CALCULATE"},
                     {"HorizontalAlignment", "center"},
                     {"CallBack", "calc_auslass;"}});

    const rt::Value sketch = rt::imread({rt::Value(kSketchFile)}).image;
    sig::imagesc({sketch});
    rt::setProps(
        rt::gca(),
        {{"XTick", rt::Value()}, {"YTick", rt::Value()}, {"Position", {0.47, 0.1, 0.52, 0.85}}});
}

void register_kelvora(rt::FunctionTable& table) {
    table.add("kelvora", 0, 0, [](const rt::Values&, int) {
        kelvora();
        return rt::Values{};
    });
}

}  // namespace porttime
