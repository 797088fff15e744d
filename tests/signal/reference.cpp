#include "reference.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testref {

const Eigen::MatrixXcd& Case::at(const std::string& key) const {
    auto it = items.find(key);
    if (it == items.end()) throw std::runtime_error("reference item missing: " + key);
    return it->second;
}

const std::map<std::string, Case>& cases() {
    static const std::map<std::string, Case> all = [] {
        std::map<std::string, Case> out;
        std::ifstream in(std::string(ROVANTEL_TEST_DATA) + "/resample/reference.txt");
        if (!in) throw std::runtime_error("reference.txt not found");
        std::string line, name;
        Case current;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream ls(line);
            std::string key;
            ls >> key;
            if (key == "case") {
                ls >> name;
                current = Case();
            } else if (key == "end") {
                out[name] = current;
            } else {
                std::string kind;
                Eigen::Index rows = 0, cols = 0;
                ls >> kind >> rows >> cols;
                Eigen::MatrixXcd m(rows, cols);
                for (Eigen::Index i = 0; i < m.size(); ++i) {
                    double re = 0, im = 0;
                    ls >> re;
                    if (kind == "c") ls >> im;
                    m.data()[i] = {re, im};
                }
                current.items[key] = m;
            }
        }
        return out;
    }();
    return all;
}

std::map<std::string, Case> casesStartingWith(const std::string& prefix) {
    std::map<std::string, Case> out;
    for (const auto& [name, c] : cases())
        if (name.rfind(prefix, 0) == 0) out[name] = c;
    return out;
}

}  // namespace testref
