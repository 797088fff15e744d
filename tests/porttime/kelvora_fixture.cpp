#include "kelvora_fixture.h"

#include <unistd.h>

#include <atomic>
#include <sstream>

#include "porttime/kelvora.h"
#include "qt/application.h"
#include "runtime/graphics/operations.h"
#include "runtime/image_io.h"
#include "runtime/value/value.h"
#include "shell/panel.h"

namespace kelvora_test {

namespace fs = std::filesystem;

KelvoraTest::KelvoraTest()
    : dialogs_([](const std::string& line) { ADD_FAILURE() << "unexpected dialog: " << line; }) {}

void KelvoraTest::SetUp() {
    static std::atomic<int> n{0};
    rt::ensureApplication();
    home_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("kelvora_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
    fs::create_directories(dir_);
    fs::current_path(dir_);
    rt::graphics().reset();
    host_ = std::make_unique<rt::QtHost>();
    host_->setDialogs(&dialogs_);
    table_ = porttime::kelvora_function_table();
    rt::register_graphics_builtins(builtins_);
    interp_ = std::make_unique<rt::CallbackInterpreter>(table_, &builtins_);
    host_->setEvaluator([this](const std::string& code) { interp_->eval(code); });
    previous_ = rt::setHost(host_.get());
}

void KelvoraTest::TearDown() {
    rt::graphics().reset();
    rt::setHost(previous_);
    host_.reset();
    fs::current_path(home_);
    fs::remove_all(dir_);
    EXPECT_EQ(dialogs_.pending(), 0u) << "a scripted answer was not asked for";
}

void KelvoraTest::start() {
    std::vector<std::uint8_t> px(4 * 5 * 3, 200);
    rt::imwrite(rt::Value::uint8({4, 5, 3}, std::move(px)), porttime::kSketchFile, "png");
    interp_->eval("kelvora");
}

void KelvoraTest::type(const std::string& tag, const std::string& text) {
    shell::set_tagged(tag, "String", rt::Value(text));
}

void KelvoraTest::press(const std::string& label) {
    const rt::Value h = rt::findobj(
        {rt::Value("Style"), rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
    ASSERT_EQ(h.numel(), 1u) << label;
    interp_->eval(rt::get(h, "Callback").text());
}

rt::Handle KelvoraTest::resultWindow() const {
    const rt::Value h = shell::tagged("PlotFig");
    return h.isEmpty() ? 0 : h.scalar();
}

std::vector<std::string> KelvoraTest::resultLines() const {
    std::vector<std::string> out;
    const rt::Value texts =
        rt::findobj({rt::Value(resultWindow()), rt::Value("Type"), rt::Value("text"),
                     rt::Value("FontName"), rt::Value("FixedWidth")});
    // findobj answers newest first.
    for (std::size_t i = texts.numel(); i-- > 0;)
        out.push_back(rt::get(rt::Value(texts.at(i)), "String").text());
    return out;
}

double KelvoraTest::resultNumber(const std::string& label) const {
    for (const std::string& l : resultLines())
        if (l.rfind(label, 0) == 0) {
            std::istringstream in(l.substr(20));
            double v = 0;
            in >> v;
            return v;
        }
    ADD_FAILURE() << "no result line " << label;
    return 0;
}

}  // namespace kelvora_test
