// The graphics operations the system's functions call, working on the process-wide tree
// (rt::graphics()). Arguments are the run-time's values in the order the operations take them;
// property-value pairs follow the rules of Graphics::set. Every failure throws rt::Error.
#pragma once

#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace rt {

// figure(name, value, ...) creates a figure and makes it current; figure(h) with the handle of
// an existing figure makes it current and brings its window to the front (a free integer h
// creates figure h).
Handle figure(const Values& args = {});
// axes(name, value, ...) in the current figure (or Parent), made its CurrentAxes;
// axes(h) makes an existing axes current.
Handle axes(const Values& args = {});
// uicontrol(name, value, ...) on the current figure or the given Parent; default Style push.
Handle uicontrol(const Values& args = {});

// plot(x, y, [linespec], name, value, ...) or plot(y, ...) into gca (or 'Parent'); with hold
// off the axes' children are removed first. Line specs: colour letters, "-" "--" ":" "-.",
// markers ". o x + * s d". A matrix y gives one line per column. Returns the lines, in order.
std::vector<Handle> plot(const Values& args);
// line(x, y, name, value, ...) or line(name, value, ...): never clears the axes.
Handle line(const Values& args = {});
// patch(x, y, c, name, value, ...) or patch(name, value, ...): never clears.
Handle patch(const Values& args = {});
// fill(x, y, c, name, value, ...): a patch with FaceColor c, honouring hold like plot.
Handle fill(const Values& args);
// text(x, y, string, name, value, ...) in gca (or 'Parent').
Handle text(const Values& args);
// image(C, ...), image(x, y, C, ...), image(name, value, ...): into gca; with hold off it
// clears the axes, sets YDir "reverse" and tight limits around the image.
Handle image(const Values& args = {});

// newplot(): gca() made ready for new data as plot would (cleared unless hold is on).
Handle newplot();

// get(h, name): one handle gives the value; several give a column cell in h's order;
// an empty h gives []. get(h) with no name is not supported (the system never uses it).
Value get(const Value& handles, const std::string& name);
// set(h, name, value, ...): every handle, every pair in order; an empty h does nothing.
void set(const Value& handles, const Values& pairs);

// findobj([start handles], ['flat'], name, value, ...): matches, depth-first from each start
// object (the start included), children newest first, as a column; [] (0x1) when none.
// Without start handles the search starts at the root. Objects lacking a named property do
// not match; texts compare exactly, enumerations and Type without regard to case, numbers by
// equality.
Value findobj(const Values& args = {});

// delete(h): removes the objects (a vector; already removed descendants are skipped);
// an empty value does nothing; a handle that was already gone is an error.
void deleteObjects(const Value& handles);

// allchild(h): every child, hidden ones included, newest first (a column). For several
// handles a column cell.
Value allchild(const Value& handles);

// close(), close(h), close(n), close('all'), close('all', 'hidden'), close(name):
// a figure whose CloseRequestFcn is set runs it through the callback runner instead.
// Returns 1 when something was closed. Call it as rt::close: the C library's close(int)
// would otherwise take close({}).
double close(const Values& args = {});

Handle gcf();  // the current figure; creates one when there is none
Handle gca();  // the current figure's current axes; creates figure and axes when needed

// hold('on'|'off') or hold() toggling, on gca; ishold() for the current axes (false when
// there is no figure or axes; it creates nothing).
void hold(const std::string& mode = "");
bool ishold();

bool isappdata(Handle h, const std::string& name);

// colormap(map) on the current figure (an m x 3 matrix in [0,1], or [] for the default
// map); colormap() returns the current figure's map.
void colormap(const Value& map);
Value colormap();
// The default 64-entry colour map.
Value defaultColormap();

// axis('equal'), axis('normal'), axis('xy'), axis('ij'), axis('tight'), axis([x1 x2 y1 y2])
// on gca.
void axis(const Values& args);

// clo(fig, ...): removes the figure's visible children ('hidden' removes all).
void clo(Handle figure, const Values& options = {});

// Registers set, get, close, findobj and delete for callback strings.
void register_graphics_builtins(FunctionTable& table);

}  // namespace rt
