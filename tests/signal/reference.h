// Reader of tests/data/resample/reference.txt (values from numpy/scipy).
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <map>
#include <string>

namespace testref {

struct Case {
    std::map<std::string, Eigen::MatrixXcd> items;
    const Eigen::MatrixXcd& at(const std::string& key) const;
    Eigen::MatrixXd real(const std::string& key) const { return at(key).real(); }
    double scalar(const std::string& key) const { return at(key)(0, 0).real(); }
    bool has(const std::string& key) const { return items.count(key) != 0; }
};

// All cases by name; loaded once.
const std::map<std::string, Case>& cases();

// Cases whose name starts with prefix.
std::map<std::string, Case> casesStartingWith(const std::string& prefix);

}  // namespace testref
