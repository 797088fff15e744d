#include "signal/imagesc.h"

#include <algorithm>

#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"

namespace sig {

namespace {

// Whether the last input is a colour range rather than data or a property's value.
bool trailingRange(const rt::Values& args) {
    const rt::Value& last = args.back();
    if (last.ndims() != 2 || last.rows() != 1 || last.cols() != 2) return false;
    const auto firstText =
        std::find_if(args.begin(), args.end(), [](const rt::Value& v) { return v.isChar(); });
    return firstText == args.end() || (args.end() - firstText) % 2 == 1;
}

}  // namespace

rt::Handle imagesc(const rt::Values& args) {
    rt::Values in = args;
    rt::Value clim;
    if (in.size() >= 2 && trailingRange(in)) {
        clim = in.back();
        in.pop_back();
    }
    in.push_back(rt::Value("CDataMapping"));
    in.push_back(rt::Value("scaled"));
    const rt::Handle h = rt::image(in);

    const rt::Handle ax = rt::gca();
    if (!clim.isEmpty())
        rt::setProps(ax, {{"CLim", clim}});
    else if (!rt::ishold())
        rt::setProps(ax, {{"CLimMode", "auto"}});
    return h;
}

void register_imagesc(rt::FunctionTable& t) {
    t.add("imagesc", -1, 1, [](const rt::Values& in, int nargout) {
        const rt::Handle h = imagesc(in);
        return nargout > 0 ? rt::Values{rt::Value(h)} : rt::Values{};
    });
}

}  // namespace sig
