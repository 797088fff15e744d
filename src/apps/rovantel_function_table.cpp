// The table of functions callable by name of rovantel, in the program's order. It is the one
// place that knows every folder of the system, so it stands above them all, beside the entry.
#include "apps/rovantel_function_table.h"

#include "diagram/ax_lims.h"
#include "diagram/ch_color.h"
#include "diagram/export_ascii.h"
#include "diagram/meanvis.h"
#include "diagram/plot_diag.h"
#include "diagram/print_fig.h"
#include "diagram/toggle_vis.h"
#include "editor/cut_file_digi.h"
#include "editor/cut_file_spect.h"
#include "editor/era_file_spect.h"
#include "editor/erase.h"
#include "editor/erase_stop.h"
#include "editor/put_wav_filename.h"
#include "editor/save_wav_cut.h"
#include "editor/save_wav_era.h"
#include "editor/togeraser.h"
#include "evaluation/calc_diag.h"
#include "evaluation/dig2v.h"
#include "evaluation/wav2v.h"
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
#include "signal/bilinear.h"
#include "signal/buttap.h"
#include "signal/butter.h"
#include "signal/clf.h"
#include "signal/czt.h"
#include "signal/filtfilt.h"
#include "signal/firls.h"
#include "signal/hanning.h"
#include "signal/hilbert.h"
#include "signal/imagesc.h"
#include "signal/isdir.h"
#include "signal/kaiser.h"
#include "signal/lp2bp.h"
#include "signal/lp2bs.h"
#include "signal/lp2hp.h"
#include "signal/lp2lp.h"
#include "signal/modulate.h"
#include "signal/private/check_order.h"
#include "signal/private/firchk.h"
#include "signal/private/iirchk.h"
#include "signal/resample.h"
#include "signal/sinc.h"
#include "signal/specgram.h"
#include "signal/title.h"
#include "signal/upfirdn.h"
#include "signal/waitbar.h"
#include "signal/wavread.h"
#include "signal/wavwrite.h"
#include "signal/xlabel.h"
#include "signal/ylabel.h"
#include "tables/calc_wheel.h"
#include "tables/gearing_tab.h"
#include "tables/gearing_tab_add.h"
#include "tables/gearing_tab_bdf.h"
#include "tables/gearing_tab_rm.h"
#include "tables/wheel.h"
#include "tables/wheel_tab.h"
#include "tables/wheel_tab_add.h"
#include "tables/wheel_tab_bdf.h"
#include "tables/wheel_tab_rm.h"

namespace apps {

rt::FunctionTable rovantel_function_table() {
    rt::FunctionTable t;
    shell::register_rovantel(t);
    shell::register_get_wav_filename(t);
    shell::register_get_out_filename(t);
    const auto editors = evaluation::register_calc_diag(t);
    evaluation::register_wav2v(t);
    diagram::register_plot_diag(t);
    shell::register_load_par(t);
    shell::register_save_par(t);
    shell::register_set_sdiag_color(t);
    shell::register_adj_par(t);
    evaluation::register_dig2v(t);
    editor::register_cut_file_spect(t);
    editor::register_cut_file_digi(t);
    editor::register_save_wav_cut(t);
    editor::register_put_wav_filename(t);
    diagram::register_toggle_vis(t);
    diagram::register_ax_lims(t);
    diagram::register_ch_color(t);
    shell::register_isodd(t);
    shell::register_clear_cache(t);
    tables::register_wheel(t);
    tables::register_calc_wheel(t);
    tables::register_wheel_tab(t);
    tables::register_wheel_tab_bdf(t);
    tables::register_wheel_tab_rm(t);
    tables::register_wheel_tab_add(t);
    diagram::register_print_fig(t);
    tables::register_gearing_tab(t);
    tables::register_gearing_tab_bdf(t);
    tables::register_gearing_tab_rm(t);
    tables::register_gearing_tab_add(t);
    diagram::register_export_ascii(t);
    editor::register_togeraser(t);
    editor::register_erase(t);
    editor::register_erase_stop(t);
    diagram::register_meanvis(t);
    editor::register_era_file_spect(t);
    editor::register_save_wav_era(t);
    shell::register_uicontrols_main(t);
    sig::register_isdir(t);
    shell::register_strings(t);
    sig::register_butter(t);
    sig::register_filtfilt(t);
    shell::register_get_par(t);
    sig::register_wavread(t);
    sig::register_resample(t);
    sig::register_specgram(t);
    sig::register_title(t);
    sig::register_xlabel(t);
    shell::register_tit(t);
    sig::register_waitbar(t);
    sig::register_clf(t);
    sig::register_imagesc(t);
    sig::register_ylabel(t);
    sig::register_wavwrite(t);
    sig::register_modulate(t);
    sig::register_bilinear(t);
    sig::register_buttap(t);
    sig::register_iirchk(t);
    sig::register_lp2bp(t);
    sig::register_lp2bs(t);
    sig::register_lp2hp(t);
    sig::register_lp2lp(t);
    sig::register_firls(t);
    sig::register_kaiser(t);
    sig::register_upfirdn(t);
    sig::register_czt(t);
    sig::register_hanning(t);
    sig::register_hilbert(t);
    sig::register_firchk(t);
    sig::register_sinc(t);
    sig::register_check_order(t);
    // The evaluation reaches the recording editors by name, wherever they stand in the table.
    editors->bind(t);
    return t;
}

}  // namespace apps
