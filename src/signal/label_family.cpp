#include "signal/label_family.h"

#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"

namespace sig {

namespace {

struct Member {
    const char* name;    // function name and axes property of the label
    const char* marker;  // application data that would divert the call
};

Member member(LabelKind kind) {
    switch (kind) {
        case LabelKind::Title:
            return {"title", "BYPASS_title"};
        case LabelKind::XLabel:
            return {"xlabel", "BYPASS_xlabel"};
        case LabelKind::YLabel:
            return {"ylabel", "BYPASS_ylabel"};
    }
    return {"title", "BYPASS_title"};
}

}  // namespace

rt::Handle setLabel(LabelKind kind, const rt::Value& text, const rt::Values& pairs) {
    if (pairs.size() % 2 != 0) rt::error("Incorrect number of input arguments");
    return setLabel(kind, rt::gca(), text, pairs);
}

rt::Handle setLabel(LabelKind kind, rt::Handle ax, const rt::Value& text, const rt::Values& pairs) {
    if (pairs.size() % 2 != 0) rt::error("Incorrect number of input arguments");
    const Member m = member(kind);
    if (rt::graphics().type(ax) != rt::ObjectType::Axes)
        rt::error(std::string(m.name) + ": not an axes.");
    if (rt::isappdata(ax, m.marker))
        rt::error(std::string(m.name) + ": the axes asks for a label handler (application data \"" +
                  m.marker + "\") that this program does not have.");

    const rt::Handle h = rt::get(ax, m.name).scalar();
    rt::Props props;
    for (const char* font : {"FontAngle", "FontName", "FontSize", "FontWeight"})
        props.push_back({font, rt::get(ax, font)});
    if (kind == LabelKind::Title) props.push_back({"Rotation", 0});
    props.push_back({"string", text});
    rt::setProps(h, props);
    if (!pairs.empty()) rt::set(h, pairs);
    return h;
}

void registerLabel(rt::FunctionTable& t, LabelKind kind) {
    t.add(member(kind).name, -2, 1, [kind](const rt::Values& in, int nargout) {
        if (in.empty()) rt::error("Not enough input arguments.");
        const rt::Values pairs(in.begin() + 1, in.end());
        const rt::Handle h = setLabel(kind, in[0], pairs);
        return nargout > 0 ? rt::Values{rt::Value(h)} : rt::Values{};
    });
}

}  // namespace sig
