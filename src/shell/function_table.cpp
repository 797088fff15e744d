// The table of functions callable by name of rovantel. Functions join it, in this order,
// as they are built.
#include "shell/adj_par.h"
#include "shell/clear_cache.h"
#include "shell/get_par.h"
#include "shell/get_wav_filename.h"
#include "shell/isodd.h"
#include "shell/load_par.h"
#include "shell/rovantel.h"
#include "shell/save_par.h"
#include "shell/set_sdiag_color.h"
#include "shell/strings.h"
#include "shell/tit.h"
#include "shell/uicontrols_main.h"

namespace shell {

rt::FunctionTable rovantel_function_table() {
    rt::FunctionTable t;
    register_rovantel(t);
    register_get_wav_filename(t);
    register_get_out_filename(t);
    register_load_par(t);
    register_save_par(t);
    register_set_sdiag_color(t);
    register_adj_par(t);
    register_isodd(t);
    register_clear_cache(t);
    register_uicontrols_main(t);
    register_strings(t);
    register_get_par(t);
    register_tit(t);
    return t;
}

}  // namespace shell
