#include "shell/rovantel.h"

#include <iostream>

#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "shell/adj_par.h"
#include "shell/load_par.h"
#include "shell/uicontrols_main.h"

namespace shell {

void rovantel() {
    using rt::Value;
    const Value ver(kVersionTitle);
    rt::set(Value(0.0),
            {Value("DefaultFigurePaperType"), Value("A4"), Value("DefaultFigureUnits"),
             Value("centimeters"), Value("DefaultFigurePaperUnits"), Value("centimeters")});
    rt::close({Value("all")});
    rt::Handle fig = rt::figure({Value("NumberTitle"), Value("off"), Value("Name"), ver,
                                 Value("Tag"), Value("Main Figure"), Value("MenuBar"),
                                 Value("none"), Value("UserData"), Value(1.0)});
    rt::set(Value(0.0), {Value("DefaultUIcontrolUnits"), Value("normalized")});
    uicontrols_main(fig);
    rt::axes(
        {Value("Position"), Value::row({-10, -10, 0.1, 0.1}), Value("Tag"), Value("Saved Data")});
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
