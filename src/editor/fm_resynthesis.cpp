#include "editor/fm_resynthesis.h"

#include <numbers>

#include "editor/editor_window.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/numeric/array_ops.h"
#include "signal/modulate.h"

namespace editor {

Resynthesis resynthesise(const Eigen::VectorXd& traceT, const Eigen::VectorXd& traceRpm,
                         Eigen::Index n, double FS, double L) {
    if (traceT.size() == 0 || traceT.size() != traceRpm.size())
        rt::error("The peak trace holds no values.");
    Resynthesis r;
    if (n <= 0) return r;
    const Eigen::VectorXd T = Eigen::VectorXd::LinSpaced(n, 0, static_cast<double>(n - 1)) / FS;
    const Eigen::Index m = traceT.size();
    Eigen::VectorXd x(m + 2), v(m + 2);
    x << 0, traceT, T(n - 1);
    v << traceRpm(0), traceRpm, traceRpm(m - 1);
    r.f = rt::interp1(x, v, T) / 60 * L;
    const double fm = rt::mean(r.f);
    const sig::ModulateResult mod = sig::modulate(
        r.f.array() - fm, fm, FS, "fm", Eigen::MatrixXd::Constant(1, 1, 2 * std::numbers::pi / FS));
    r.y = *mod.y;
    return r;
}

Eigen::MatrixXd rebuild_channels(const Eigen::Ref<const Eigen::MatrixXd>& Y,
                                 const std::vector<Eigen::Index>& rows, const std::vector<int>& ch,
                                 const Eigen::VectorXd& tone) {
    Eigen::Index cols = Y.cols();
    for (int c : ch) cols = std::max<Eigen::Index>(cols, c);
    Eigen::MatrixXd out = Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(rows.size()), cols);
    out.leftCols(Y.cols()) = take_rows(Y, rows);
    for (int c : ch)
        for (std::size_t k = 0; k < rows.size(); ++k)
            out(static_cast<Eigen::Index>(k), c - 1) = tone(rows[k]);
    return out;
}

}  // namespace editor
