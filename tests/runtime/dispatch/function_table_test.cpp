#include "runtime/dispatch/function_table.h"

#include <gtest/gtest.h>

#include <climits>

#include "runtime/dispatch/error.h"
#include "support/test_helpers.h"

namespace {

using testsupport::errorOf;

// Assigns as many outputs as asked for (one for a statement call).
rt::Values allOutputs(const rt::Values&, int nargout) {
    return rt::Values(nargout == 0 ? 1 : nargout, rt::Value(1.0));
}

rt::FunctionTable countTable() {
    rt::FunctionTable t;
    t.add("butter", -3, 4, allOutputs);
    t.add("title", -2, 1, allOutputs);
    t.add("upfirdn", -1, -1, allOutputs);
    t.add("get_par", 0, 24, allOutputs);
    t.add("filtfilt", 3, 1, allOutputs);
    t.add("calc_diag", 0, 0, [](const rt::Values&, int) { return rt::Values{}; });
    t.add("load_par", 1, 0, [](const rt::Values&, int) { return rt::Values{}; });
    return t;
}

TEST(FunctionTable, DeclaredCountsBoundInputsAndOutputsFromAbove) {
    struct Case {
        const char* name;
        std::size_t nin;
        int nargout;
        const char* error;  // "" when the call goes through
    } cases[] = {
        {"butter", 2, 4, ""},
        {"butter", 3, 1, ""},
        {"butter", 12, 0, ""},
        {"butter", 0, 0, ""},  // fewer than the fixed ones is the function's own business
        {"butter", 2, 5, "Too many output arguments in call to 'butter' (5 given, declared: 4)."},
        {"title", 0, 1, ""},
        {"title", 7, 1, ""},
        {"title", 1, 2, "Too many output arguments in call to 'title' (2 given, declared: 1)."},
        {"upfirdn", 9, 9, ""},
        {"get_par", 0, 24, ""},
        {"get_par", 0, 20, ""},
        {"get_par", 1, 24, "Too many input arguments in call to 'get_par' (1 given, declared: 0)."},
        {"get_par", 0, 25,
         "Too many output arguments in call to 'get_par' (25 given, declared: 24)."},
        {"filtfilt", 3, 1, ""},
        {"filtfilt", 4, 1,
         "Too many input arguments in call to 'filtfilt' (4 given, declared: 3)."},
        {"calc_diag", 0, 0, ""},
        {"calc_diag", 0, 1,
         "Too many output arguments in call to 'calc_diag' (1 given, declared: 0)."},
        {"load_par", 0, 0, ""},
        {"load_par", 1, 0, ""},
        {"load_par", 2, 0,
         "Too many input arguments in call to 'load_par' (2 given, declared: 1)."},
        {"nosuch", 0, 0, "Undefined function 'nosuch'."},
    };
    const rt::FunctionTable t = countTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " nin " + std::to_string(c.nin) + " nargout " +
                     std::to_string(c.nargout));
        const rt::Values in(c.nin, rt::Value(2.0));
        rt::Values out;
        const std::string err = errorOf([&] { out = t.call(c.name, in, c.nargout); });
        EXPECT_EQ(err, c.error);
        if (err.empty() && c.nargout > 0) {
            EXPECT_EQ(out.size(), static_cast<std::size_t>(c.nargout));
        }
    }
}

TEST(FunctionTable, DeclaredCountTexts) {
    EXPECT_EQ(rt::declaredCountText(0), "0");
    EXPECT_EQ(rt::declaredCountText(24), "24");
    EXPECT_EQ(rt::declaredCountText(-3), "2 fixed and more");
    EXPECT_EQ(rt::declaredCountText(-2), "1 fixed and more");
    EXPECT_EQ(rt::declaredCountText(-1), "any number");
    EXPECT_EQ(rt::declaredCountText(INT_MIN), "2147483647 fixed and more");
    EXPECT_TRUE(rt::countAllows(-3, 0));
    EXPECT_TRUE(rt::countAllows(-1, 1000));
    EXPECT_FALSE(rt::countAllows(0, 1));
}

TEST(FunctionTable, UnassignedOutputsFailTheCallerAndExtraOutputsAreDropped) {
    rt::FunctionTable t;
    int seenNargout = -1;
    // Returns two outputs whatever is asked, like a function that stops early.
    t.add("get_par", 0, 24, [&](const rt::Values&, int nargout) {
        seenNargout = nargout;
        return rt::Values{rt::Value(1.0), rt::Value(2.0)};
    });
    EXPECT_EQ(errorOf([&] { t.call("get_par", {}, 3); }),
              "One or more output arguments not assigned during call to 'get_par'.");
    EXPECT_EQ(seenNargout, 3);
    EXPECT_EQ(t.call("get_par", {}, 2).size(), 2u);
    EXPECT_EQ(t.call("get_par", {}, 1).size(), 1u);
    const rt::Values statement = t.call("get_par", {}, 0);
    ASSERT_EQ(statement.size(), 1u);  // a statement call keeps at most the first output
    EXPECT_EQ(statement[0].scalar(), 1.0);

    t.add("nothing", 0, 1, [](const rt::Values&, int) { return rt::Values{}; });
    EXPECT_TRUE(t.call("nothing", {}, 0).empty());
    EXPECT_EQ(errorOf([&] { t.call("nothing", {}, 1); }),
              "One or more output arguments not assigned during call to 'nothing'.");
}

TEST(FunctionTable, OutputsWithAHoleInTheMiddle) {
    // get_par reads its fields in an order other than its outputs: a failure leaves holes.
    auto slots = [] {
        std::vector<std::optional<rt::Value>> s(5);
        s[0] = rt::Value(1.0);
        s[1] = rt::Value();  // the failing field: assigned, empty
        s[3] = rt::Value(4.0);
        return s;
    };
    EXPECT_EQ(rt::assignedOutputs("get_par", slots(), 2).size(), 2u);
    EXPECT_TRUE(rt::assignedOutputs("get_par", slots(), 2)[1].isEmpty());
    EXPECT_EQ(rt::assignedOutputs("get_par", slots(), 0).size(), 1u);
    EXPECT_EQ(errorOf([&] { rt::assignedOutputs("get_par", slots(), 3); }),
              "One or more output arguments not assigned during call to 'get_par'.");
    EXPECT_EQ(errorOf([&] { rt::assignedOutputs("get_par", slots(), 6); }),
              "One or more output arguments not assigned during call to 'get_par'.");
    EXPECT_TRUE(rt::assignedOutputs("f", std::vector<std::optional<rt::Value>>(2), 0).empty());
}

TEST(FunctionTable, EntriesKeepTheirOrderAndALaterAddReplacesInPlace) {
    rt::FunctionTable t;
    t.add("rovantel", 0, 0, allOutputs);
    t.add("strings", 0, 1, allOutputs);
    t.add("isodd", 1, 1, allOutputs);
    t.add("strings", 0, 2, [](const rt::Values&, int) { return rt::Values{rt::Value("st")}; });
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t.entries()[1].name, "strings");
    EXPECT_EQ(t.entries()[1].nout, 2);
    EXPECT_EQ(t.call("strings", {}, 1)[0].text(), "st");
    EXPECT_EQ(t.find("isodd"), &t.entries()[2]);
    EXPECT_EQ(t.find("Strings"), nullptr);  // names are case-sensitive
    EXPECT_THROW(t.add("", 0, 0, allOutputs), rt::Error);
    EXPECT_THROW(t.add("x", 0, 0, nullptr), rt::Error);
}

TEST(FunctionTable, InputsReachTheFunctionUnchanged) {
    rt::FunctionTable t;
    rt::Values seen;
    t.add("plot_diag", 8, 0, [&](const rt::Values& in, int) {
        seen = in;
        return rt::Values{};
    });
    const rt::Values in{rt::Value(1.0), rt::Value("rpm"), rt::Value::row({1, 2, 3})};
    t.call("plot_diag", in, 0);
    ASSERT_EQ(seen.size(), 3u);
    for (std::size_t i = 0; i < in.size(); ++i) EXPECT_TRUE(seen[i].equals(in[i]));
}

TEST(Nargchk, MessagesBelowAndAboveTheRange) {
    EXPECT_EQ(rt::nargchk(1, 2, 0), "Not enough input arguments.");
    EXPECT_EQ(rt::nargchk(1, 2, 1), "");
    EXPECT_EQ(rt::nargchk(1, 2, 2), "");
    EXPECT_EQ(rt::nargchk(1, 2, 3), "Too many input arguments.");
    EXPECT_EQ(rt::nargchk(3, 3, 2), "Not enough input arguments.");
    EXPECT_EQ(rt::nargchk(0, -1, 99), "");
    EXPECT_EQ(errorOf([] { rt::error(rt::nargchk(2, 4, 5)); }), "Too many input arguments.");
}

TEST(Lasterr, CatchErrorKeepsThePlainMessageForARaiseAgain) {
    auto msg = rt::catchError([] { rt::error("Invalid WAVE file"); });
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(*msg, "Invalid WAVE file");
    EXPECT_EQ(rt::lasterr(), "Invalid WAVE file");
    // A guard that cleans up and raises again with lasterr leaves the text as it was.
    msg = rt::catchError([] {
        try {
            rt::error("Data chunk missing");
        } catch (const rt::Error& e) {
            rt::caught(e);
            rt::error(rt::lasterr());
        }
    });
    EXPECT_EQ(*msg, "Data chunk missing");
    EXPECT_EQ(rt::lasterr(), "Data chunk missing");
    EXPECT_FALSE(rt::catchError([] {}).has_value());
    EXPECT_EQ(rt::lasterr(), "Data chunk missing");  // no error, lasterr untouched
    EXPECT_EQ(*rt::catchError([] { throw std::out_of_range("index out of range"); }),
              "index out of range");
}

}  // namespace
