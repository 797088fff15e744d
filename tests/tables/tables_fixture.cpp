#include "tables_fixture.h"

#include <fstream>
#include <sstream>

#include "runtime/graphics/operations.h"
#include "runtime/value/text_ops.h"

namespace tables_test {

void TablesTest::write_file(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

std::string TablesTest::read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void TablesTest::press(const char* figure_tag, const std::u16string& label) {
    rt::Value fig = rt::findobj({rt::Value("Tag"), rt::Value(figure_tag)});
    ASSERT_EQ(fig.numel(), 1u) << figure_tag;
    rt::Value h = rt::findobj(
        {fig, rt::Value("Style"), rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
    ASSERT_EQ(h.numel(), 1u) << rt::utf8(label);
    interp_->eval(rt::get(h, "Callback").text());
}

std::vector<std::u16string> TablesTest::rows(const char* list_tag) const {
    std::vector<std::u16string> out;
    rt::Value list = prop(list_tag, "String");
    if (list.isCell())
        for (const auto& r : list.cells()) out.push_back(rt::deblank(r.text16()));
    return out;
}

bool TablesTest::window_open(const char* figure_tag) const {
    return !rt::findobj({rt::Value("Tag"), rt::Value(figure_tag)}).isEmpty();
}

std::string TablesTest::last_dialog() const {
    return dialogs_.shown().empty() ? "" : dialogs_.shown().back().text;
}

}  // namespace tables_test
