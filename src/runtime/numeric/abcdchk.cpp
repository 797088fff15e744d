#include "runtime/numeric/statespace.h"

namespace rt {

std::string abcdchk(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b, const Eigen::MatrixXd& c,
                    const Eigen::MatrixXd& d) {
    if (a.rows() != a.cols()) return "The A matrix must be square.";
    if (b.rows() != a.rows()) return "The A and B matrices must have the same number of rows.";
    if (c.cols() != a.cols()) return "The A and C matrices must have the same number of columns.";
    if (d.rows() != c.rows()) return "The C and D matrices must have the same number of rows.";
    if (d.cols() != b.cols()) return "The B and D matrices must have the same number of columns.";
    return "";
}

std::string abcdchk(const StateSpace& s) { return abcdchk(s.a, s.b, s.c, s.d); }

}  // namespace rt
