#include "shell/rovantel.h"

#include <iostream>

#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/adj_par.h"
#include "shell/load_par.h"
#include "shell/uicontrols_main.h"

namespace shell {

void rovantel() {
    rt::setProps(0.0, {{"DefaultFigurePaperType", "A4"},
                       {"DefaultFigureUnits", "centimeters"},
                       {"DefaultFigurePaperUnits", "centimeters"}});
    rt::close({"all"});
    const rt::Handle fig = rt::makeFigure({{"NumberTitle", "off"},
                                           {"Name", kVersionTitle},
                                           {"Tag", "Main Figure"},
                                           {"MenuBar", "none"},
                                           {"UserData", 1}});
    rt::setProps(0.0, {{"DefaultUIcontrolUnits", "normalized"}});
    uicontrols_main(fig);
    rt::makeAxes(fig, {{"Position", {-10, -10, 0.1, 0.1}}, {"Tag", "Saved Data"}});
    rt::hold("on");
    adj_par();
    if (rt::exist(kStartFile, "file")) {
        load_par(std::string(kStartFile));
        std::cout << "loading " << kStartFile << std::endl;
    }
}

void register_rovantel(rt::FunctionTable& table) {
    table.add("rovantel", 0, 0, [](const rt::Values&, int) {
        rovantel();
        return rt::Values{};
    });
}

}  // namespace shell
