// The table of functions callable by name of kelvora, in the program's order.
#include "porttime/calc_auslass.h"
#include "porttime/get_pdf_file.h"
#include "porttime/kelvora.h"
#include "runtime/graphics/subplot.h"
#include "runtime/imread.h"
#include "signal/clf.h"
#include "signal/imagesc.h"
#include "signal/isdir.h"

namespace porttime {

rt::FunctionTable kelvora_function_table() {
    rt::FunctionTable t;
    register_kelvora(t);
    register_calc_auslass(t);
    register_get_pdf_file(t);
    sig::register_imagesc(t);
    rt::register_imread(t);
    sig::register_clf(t);
    rt::register_subplot(t);
    sig::register_isdir(t);
    return t;
}

}  // namespace porttime
