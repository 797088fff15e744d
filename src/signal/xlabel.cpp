#include "signal/xlabel.h"

#include "signal/label_family.h"

namespace sig {

rt::Handle xlabel(const rt::Value& text, const rt::Values& pairs) {
    return setLabel(LabelKind::XLabel, text, pairs);
}

void register_xlabel(rt::FunctionTable& t) { registerLabel(t, LabelKind::XLabel); }

}  // namespace sig
