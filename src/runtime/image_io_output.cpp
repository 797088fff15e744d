// getframe and print: the parts of the output operations that need no toolkit.
#include <cmath>
#include <cstdlib>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/image_io.h"

namespace rt {

namespace {

FigureOutput* gOutput = nullptr;

FigureOutput& output(const char* op) {
    if (!gOutput) throw Error(std::string(op) + ": no display is available to draw figures.");
    return *gOutput;
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool parseNumber(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0';
}

}  // namespace

FigureOutput* setFigureOutput(FigureOutput* o) {
    FigureOutput* old = gOutput;
    gOutput = o;
    return old;
}

Value getframe(double figure) {
    Value frame = Value::structure();
    frame.setField("cdata", output("getframe").grab(figure));
    frame.setField("colormap", Value());
    return frame;
}

void print(const Values& args) {
    double figure = NAN;
    std::string device;
    std::string file;
    double dpi = 0;
    for (const Value& a : args) {
        if (!a.isChar()) {
            if (!a.isScalar()) throw Error("print: a figure handle must be a single number.");
            figure = a.scalar();
            continue;
        }
        const std::string s = a.text();
        if (s.size() > 1 && s[0] == '-') {
            const std::string opt = lower(s.substr(1));
            if (opt[0] == 'd') {
                device = opt.substr(1);
            } else if (opt[0] == 'r' && parseNumber(opt.substr(1), dpi)) {
                if (!(dpi >= 0)) throw Error("print: bad resolution \"" + s + "\".");
            } else if (opt[0] == 'f' && parseNumber(opt.substr(1), figure)) {
            } else if (opt == "opengl" || opt == "painters" || opt == "zbuffer") {
            } else {
                throw Error("print: unknown option \"" + s + "\".");
            }
            continue;
        }
        if (!file.empty()) throw Error("print: more than one file name.");
        file = s;
    }
    if (file.empty()) throw Error("print: no file name given.");
    if (device.empty()) throw Error("print: no output format (-d<type>) given.");
    std::string format;
    std::string extension;
    if (device == "epsc" || device == "epsc2" || device == "eps" || device == "eps2") {
        format = "eps";
        extension = "eps";
    } else if (const ImageFormat* f = findImageFormat(device)) {
        format = f->name;
        extension = f->extensions.front();
    } else {
        throw Error("print: unknown device \"-d" + device + "\".");
    }
    requireFileName(file);  // "sub/" must not become "sub/.eps"
    const std::size_t slash = file.find_last_of('/');
    const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    if (base.find('.') == std::string::npos) file += "." + extension;
    output("print").print(figure, format, dpi, file);
}

}  // namespace rt
