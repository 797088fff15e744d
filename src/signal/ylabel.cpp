#include "signal/ylabel.h"

#include "signal/label_family.h"

namespace sig {

rt::Handle ylabel(const rt::Value& text, const rt::Values& pairs) {
    return setLabel(LabelKind::YLabel, text, pairs);
}

void register_ylabel(rt::FunctionTable& t) { registerLabel(t, LabelKind::YLabel); }

}  // namespace sig
