#include "runtime/graphics/units.h"

#include "runtime/dispatch/error.h"

namespace rt {

const char* unitName(Unit u) {
    switch (u) {
        case Unit::Pixels:
            return "pixels";
        case Unit::Points:
            return "points";
        case Unit::Inches:
            return "inches";
        case Unit::Centimeters:
            return "centimeters";
        case Unit::Normalized:
            return "normalized";
        case Unit::Data:
            return "data";
    }
    return "pixels";
}

Unit unitFromName(const std::string& s) {
    if (s == "pixels") return Unit::Pixels;
    if (s == "points") return Unit::Points;
    if (s == "inches") return Unit::Inches;
    if (s == "centimeters") return Unit::Centimeters;
    if (s == "normalized") return Unit::Normalized;
    if (s == "data") return Unit::Data;
    throw Error("Unknown units '" + s + "'.");
}

double lengthToPixels(double v, Unit u, double parentLength, double ppi) {
    switch (u) {
        case Unit::Pixels:
            return v;
        case Unit::Points:
            return v * ppi / 72.0;
        case Unit::Inches:
            return v * ppi;
        case Unit::Centimeters:
            return v * ppi / 2.54;
        case Unit::Normalized:
            return v * parentLength;
        case Unit::Data:
            break;
    }
    throw Error("Data units are not a length.");
}

double lengthFromPixels(double px, Unit u, double parentLength, double ppi) {
    switch (u) {
        case Unit::Pixels:
            return px;
        case Unit::Points:
            return px * 72.0 / ppi;
        case Unit::Inches:
            return px / ppi;
        case Unit::Centimeters:
            return px * 2.54 / ppi;
        case Unit::Normalized:
            return parentLength != 0 ? px / parentLength : 0.0;
        case Unit::Data:
            break;
    }
    throw Error("Data units are not a length.");
}

Rect rectToPixels(const Rect& r, Unit u, double w, double h, double ppi) {
    // Pixel offsets count from 1, so the screen reads [1 1 W H].
    const double shift = u == Unit::Pixels ? 1.0 : 0.0;
    return {lengthToPixels(r[0] - shift, u, w, ppi), lengthToPixels(r[1] - shift, u, h, ppi),
            lengthToPixels(r[2], u, w, ppi), lengthToPixels(r[3], u, h, ppi)};
}

Rect rectFromPixels(const Rect& px, Unit u, double w, double h, double ppi) {
    const double shift = u == Unit::Pixels ? 1.0 : 0.0;
    return {lengthFromPixels(px[0], u, w, ppi) + shift, lengthFromPixels(px[1], u, h, ppi) + shift,
            lengthFromPixels(px[2], u, w, ppi), lengthFromPixels(px[3], u, h, ppi)};
}

double paperToInches(double v, Unit u, double paper) {
    switch (u) {
        case Unit::Inches:
            return v;
        case Unit::Centimeters:
            return v / 2.54;
        case Unit::Points:
            return v / 72.0;
        case Unit::Normalized:
            return v * paper;
        default:
            break;
    }
    throw Error("Invalid paper units.");
}

double paperFromInches(double in, Unit u, double paper) {
    switch (u) {
        case Unit::Inches:
            return in;
        case Unit::Centimeters:
            return in * 2.54;
        case Unit::Points:
            return in * 72.0;
        case Unit::Normalized:
            return paper != 0 ? in / paper : 0.0;
        default:
            break;
    }
    throw Error("Invalid paper units.");
}

}  // namespace rt
