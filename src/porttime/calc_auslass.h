// The exhaust port's outline, its timings and time-area values, and the result window that
// shows them at true scale.
#pragma once

#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"

namespace porttime {

// Cylinder and port as the input window gives them: lengths in mm, rpm in 1/min; the three
// heights measured down from the cylinder top; the widths full, not half.
struct PortInput {
    double stroke = 60, rod = 110, rpm = 7500, bore = 63;
    double exhaustOpening = 33, transferOpening = 48, exhaustClosing = 60;
    double widthTop = 45, widthTransfer = 43;
    double r1 = 8, r2 = 15, r3 = 0;
};

// The right half of the port on the cylinder wall, heights above bottom dead centre: roof y1,
// transfer height y2, floor y3; half-widths x1 (roof) and x2 (transfer height); side-wall
// angle a; the upper corner arc (centre c1, radius r1) meets the wall at (xr1, yr1), the lower
// one (centre c2, radius r2) at (xr2, yr2); x3 is the wall extended to the floor.
struct PortOutline {
    double y1 = 0, y2 = 0, y3 = 0, x1 = 0, x2 = 0, a = 0;
    double yr1 = 0, xr1 = 0, x3 = 0, yr2 = 0, xr2 = 0;
    double c1x = 0, c1y = 0, c2x = 0, c2y = 0;
    double r1 = 0, r2 = 0, r3 = 0;
};

// Refuses inputs that leave the geometry, naming the field as the window labels it: a
// non-positive bore, stroke, rod or rpm; a rod not longer than half the stroke; a height
// outside 0 ... stroke; a port floor not below its roof or a transfer height not below the
// roof; a negative width or radius; a roof wider than the bore; corner radii too large for
// the port's width, or side walls that meet above the floor. Also "x1 has to be larger than
// x2" when the top is narrower than the transfer height. rt::Error; nothing else.
void check_port_input(const PortInput& in);

// The outline of valid input (check_port_input first).
PortOutline port_outline(const PortInput& in);

// The port's half-width at height y (mm above bottom dead centre): the upper arc, the
// straight wall, the lower arc (a later zone wins where they meet), then the roof rounding.
// NaN outside the port.
double port_half_width(const PortOutline& o, double y);

// Crank angle from top dead centre (radians) at which the piston crown is `height` mm above
// bottom dead centre.
double crank_angle(const PortInput& in, double height);

// Everything a calculation finds. The 10,000 crank positions run from the exhaust opening
// (st1) to the port floor (st3); Y is the piston height there, X the port's half-width, xxx
// that half-width as an arc length on the bore; AA the uncovered port area (mm²) after each
// step. ccm: displacement (cm³); TA, TV: exhaust and blowdown times (s); TAA, TAV: the mean
// exhaust and blowdown time-area values; xm: the largest half-width.
struct PortTimeArea {
    PortOutline outline;
    double ccm = 0, st1 = 0, st2 = 0, st3 = 0, xm = 0;
    double TA = 0, TAA = 0, TV = 0, TAV = 0;
    std::vector<double> Y, X, xxx, AA;
};

// The calculation for valid input (rt::Error from check_port_input otherwise).
PortTimeArea port_time_area(const PortInput& in);

// The CALCULATE button: reads the input window's fields, computes, and draws the window
// "Exhaust Plot" (created once, redrawn by every run) with the port map at 1:1, the chord
// view and the twelve result lines; writes it as colour EPS to the PrintFile field's name
// unless that is empty. A field that holds no number, input that leaves the geometry, or a
// bore or stroke whose true-scale window no page or screen could hold is refused with
// rt::Error naming the field, before the window is touched. The result lines stay at 7 pt
// or more: where the block under the port map is too small for them, the window grows and
// the port map keeps its scale.
void calc_auslass();

// "calc_auslass": no inputs, no outputs.
void register_calc_auslass(rt::FunctionTable& table);

}  // namespace porttime
