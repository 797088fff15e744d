#include "support/shell_fixture.h"

#include <random>

#include "apps/rovantel_function_table.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/text_ops.h"
#include "shell/panel.h"
#include "support/shell_test_support.h"

namespace shell_test {

void ShellTest::SetUp() {
    home_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("rovantel_shell_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    rt::graphics().reset();
    host_ = std::make_unique<TestHost>(dialogs_);
    rt::setHost(host_.get());
    table_ = apps::rovantel_function_table();
    rt::register_graphics_builtins(builtins_);
    interp_ = std::make_unique<rt::CallbackInterpreter>(table_, &builtins_);
}

void ShellTest::TearDown() {
    rt::graphics().reset();
    rt::setHost(nullptr);
    std::filesystem::current_path(home_);
    std::filesystem::remove_all(dir_);
    EXPECT_EQ(dialogs_.pending(), 0u) << "a scripted answer was not asked for";
}

std::string ShellTest::start(const shell::Strings& table) {
    use_table(table);
    testing::internal::CaptureStdout();
    try {
        interp_->eval("rovantel");
    } catch (...) {
        std::string out = testing::internal::GetCapturedStdout();
        ADD_FAILURE() << "start-up failed; it printed: " << out;
        throw;
    }
    return testing::internal::GetCapturedStdout();
}

void ShellTest::click(const std::string& tag) {
    rt::Value cb = shell::get_tagged(tag, "Callback");
    ASSERT_TRUE(cb.isChar()) << tag;
    interp_->eval(cb.text());
}

void ShellTest::click_label(const std::u16string& label) {
    rt::Value h = rt::findobj(
        {rt::Value("Style"), rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
    ASSERT_EQ(h.numel(), 1u) << rt::utf8(label);
    interp_->eval(rt::get(h, "Callback").text());
}

void ShellTest::choose(const std::string& tag, double row) {
    shell::set_tagged(tag, "Value", rt::Value(row));
    click(tag);
}

void ShellTest::type(const std::string& tag, const std::string& text) {
    shell::set_tagged(tag, "String", rt::Value(text));
}

rt::Value ShellTest::prop(const std::string& tag, const std::string& name) const {
    return shell::get_tagged(tag, name);
}

std::string ShellTest::text(const std::string& tag) const {
    return rt::utf8(shell::string_of(tag));
}

double ShellTest::value(const std::string& tag) const { return shell::value_of(tag); }

std::u16string ShellTest::item(const std::string& tag, double row) const {
    rt::Value list = prop(tag, "String");
    return rt::deblank(list.rowText(static_cast<std::size_t>(row) - 1));
}

}  // namespace shell_test
