// The by-name entries: declared counts and the conversions at the edge.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "signal/czt.h"
#include "signal/firls.h"
#include "signal/hanning.h"
#include "signal/hilbert.h"
#include "signal/kaiser.h"
#include "signal/modulate.h"
#include "signal/private/check_order.h"
#include "signal/private/firchk.h"
#include "signal/resample.h"
#include "signal/sinc.h"
#include "signal/specgram.h"
#include "signal/upfirdn.h"
#include "warnings.h"

namespace {

rt::FunctionTable table() {
    rt::FunctionTable t;
    sig::register_resample(t);
    sig::register_firls(t);
    sig::register_kaiser(t);
    sig::register_upfirdn(t);
    sig::register_czt(t);
    sig::register_hanning(t);
    sig::register_hilbert(t);
    sig::register_firchk(t);
    sig::register_sinc(t);
    sig::register_check_order(t);
    sig::register_specgram(t);
    sig::register_modulate(t);
    return t;
}

TEST(Table, DeclaredCounts) {
    const rt::FunctionTable t = table();
    struct Row {
        const char* name;
        int nin, nout;
    };
    const Row rows[] = {{"resample", 5, 2}, {"specgram", -1, 3},
                        {"modulate", 5, 2}, {"firls", 5, 2},
                        {"kaiser", 2, 1},   {"upfirdn", -1, -1},
                        {"czt", 4, 1},      {"hanning", -1, 1},
                        {"hilbert", 2, 1},  {"signal/private/firchk", 3, 3},
                        {"sinc", 1, 1},     {"signal/private/check_order", 1, 3}};
    ASSERT_EQ(t.entries().size(), std::size(rows));
    for (const Row& r : rows) {
        const rt::FunctionEntry* e = t.find(r.name);
        ASSERT_NE(e, nullptr) << r.name;
        EXPECT_EQ(e->nin, r.nin) << r.name;
        EXPECT_EQ(e->nout, r.nout) << r.name;
    }
}

TEST(Table, ResampleAndSpecgramThroughValues) {
    const rt::FunctionTable t = table();
    std::vector<double> x(441);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::sin(0.01 * double(i));
    const rt::Values r = t.call("resample", {rt::Value::row(x), 8820.0, 44100.0}, 2);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].rows(), 1u);
    EXPECT_EQ(r[0].cols(), 89u);
    EXPECT_EQ(r[1].numel(), 101u);
}

TEST(Table, MessagesAndArgumentForms) {
    const rt::FunctionTable t = table();
    EXPECT_EQ(errorOf([&] {
                  t.call("resample", {rt::Value::row({1, 2}), 2.5, 1.0}, 1);
              }),
              "P must be a positive integer.");
    EXPECT_EQ(errorOf([&] { t.call("hanning", {}, 1); }), "Not enough input arguments.");
    EXPECT_EQ(errorOf([&] {
                  t.call("hanning", {3.0, "symmetric", 1.0}, 1);
              }),
              "Too many input arguments.");
    EXPECT_EQ(errorOf([&] {
                  t.call("hanning", {3.0, 2.0}, 1);
              }),
              "Sampling flag must be either 'symmetric' or 'periodic'.");
    EXPECT_NE(errorOf([&] { t.call("hanning", {3.0}, 2); }), "");  // one output declared
    const rt::Value h0 = t.call("hanning", {0.0}, 1)[0];
    EXPECT_EQ(h0.rows(), 0u);
    EXPECT_EQ(h0.cols(), 1u);

    // firchk: an unusable n comes back unchanged with msg1.
    const rt::Values f = t.call("signal/private/firchk", {"x", rt::Value::row({1, 1})}, 3);
    EXPECT_EQ(f[0].text(), "x");
    EXPECT_EQ(f[1].text(), "Filter order must be a real, positive integer.");
    const rt::Values g = t.call("signal/private/firchk", {3.0, rt::Value::row({1, 1, 0, 1})}, 3);
    EXPECT_EQ(g[0].scalar(), 4);
    EXPECT_EQ(g[2].text().substr(0, 13), "Odd order sym");
    const rt::Values co = t.call("signal/private/check_order", {rt::Value()}, 3);
    EXPECT_TRUE(co[0].isEmpty());
    EXPECT_EQ(co[2].scalar(), 1);

    // firls with the symmetry as its fourth input.
    const rt::Values hl =
        t.call("firls", {10.0, rt::Value::row({0.1, 0.9}), rt::Value::row({1, 1}), "h"}, 1);
    EXPECT_EQ(hl[0].numel(), 11u);

    // czt's scalar rule; upfirdn's defaults.
    EXPECT_EQ(errorOf([&] {
                  t.call("czt", {rt::Value::row({1, 2}), rt::Value::row({1, 2})}, 1);
              }),
              "Inputs M, W and A must be scalars.");
    EXPECT_EQ(
        t.call("upfirdn", {rt::Value::column({1, 2, 3}), rt::Value::row({1, 1})}, 1)[0].numel(),
        4u);

    // specgram: three outputs; with none it draws instead.
    std::vector<double> x(400, 1.0);
    const rt::Values s = t.call("specgram", {rt::Value::column(x), rt::Value(), 100.0, 64.0}, 3);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].rows(), 129u);  // nfft left empty: min(400, 256)
    EXPECT_EQ(s[2].cols(), 1u);
    rt::graphics().reset();
    EXPECT_TRUE(t.call("specgram", {rt::Value::column(x), rt::Value(), 100.0, 64.0}, 0).empty());
    const rt::Value img =
        rt::findobj({rt::Value(rt::gca()), rt::Value("Type"), rt::Value("image")});
    ASSERT_EQ(img.numel(), 1u);
    EXPECT_EQ(rt::get(img, "CData").rows(), 129u);
    EXPECT_EQ(rt::get(img, "CData").cols(), 11u);  // (400 - 32) / 32 whole slices
    rt::graphics().reset();

    // modulate: an unknown method leaves y unassigned; an empty x returns y only.
    EXPECT_NE(errorOf([&] { t.call("modulate", {1.0, 1.0, 10.0, "nope"}, 1); }), "");
    EXPECT_EQ(t.call("modulate", {rt::Value(), 1.0, 10.0, "fm"}, 1)[0].numel(), 0u);
    EXPECT_NE(errorOf([&] { t.call("modulate", {rt::Value(), 1.0, 10.0, "fm"}, 2); }), "");

    // hilbert warns about and drops an imaginary part.
    WarningCapture w;
    const rt::Value hb = t.call("hilbert", {rt::Value(std::complex<double>(1, 2))}, 1)[0];
    EXPECT_EQ(w.lines,
              std::vector<std::string>{"Warning: HILBERT ignores imaginary part of input."});
    EXPECT_EQ(hb.complexData()[0], std::complex<double>(1, 0));
}

}  // namespace

TEST(Table, AnalysisPathByNameMatchesTheTypedFunctions) {
    // A tone at 44.1 kHz resampled and analysed at 301 band frequencies, as the editors do.
    const rt::FunctionTable t = table();
    Eigen::VectorXd x(44100);
    for (Eigen::Index i = 0; i < x.size(); ++i)
        x(i) =
            std::sin(0.02 * static_cast<double>(i)) + 0.1 * std::cos(0.3 * static_cast<double>(i));
    const rt::Value y = t.call("resample", {rt::fromMatrix(x), 8820.0, 44100.0}, 1)[0];
    const Eigen::VectorXd typed = sig::resample(x, 8820, 44100).y;
    EXPECT_EQ(rt::toMatrix(y), typed);

    Eigen::VectorXd f(301);
    for (int i = 0; i < 301; ++i) f(i) = 25 + 0.5 * i;
    const sig::SpecgramResult want = sig::specgram(typed, f, 8820, 3528, 1764);
    const rt::Values s = t.call("specgram", {y, rt::fromMatrix(f), 8820.0, 3528.0, 1764.0}, 3);
    EXPECT_EQ(rt::toComplexMatrix(s[0]), want.B);
    EXPECT_EQ(rt::toMatrix(s[2]), Eigen::MatrixXd(want.T));
    // The same signal with zero imaginary parts, or as a row, is analysed alike.
    rt::Value zeroIm = rt::Value::matrix(y.rows(), 1, y.re(), std::vector<double>(y.numel(), 0));
    EXPECT_EQ(rt::toComplexMatrix(
                  t.call("specgram", {zeroIm, rt::fromMatrix(f), 8820.0, 3528.0, 1764.0}, 1)[0]),
              want.B);
    rt::Value row = y;
    row.reshape({1, y.numel()});
    EXPECT_EQ(rt::toComplexMatrix(
                  t.call("specgram", {row, rt::fromMatrix(f), 8820.0, 3528.0, 1764.0}, 1)[0]),
              want.B);
}
