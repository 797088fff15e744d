#include "signal/title.h"

#include "signal/label_family.h"

namespace sig {

rt::Handle title(const rt::Value& text, const rt::Values& pairs) {
    return setLabel(LabelKind::Title, text, pairs);
}

void register_title(rt::FunctionTable& t) { registerLabel(t, LabelKind::Title); }

}  // namespace sig
