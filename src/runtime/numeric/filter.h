// One-dimensional digital filtering by a rational transfer function.
#pragma once

#include <Eigen/Dense>

namespace rt {

// filter(b, a, x, zi): y(k) = b(1)·x(k) + z1, then zi = b(i+1)·x(k) + z(i+1) − a(i+1)·y(k)
// (transposed direct form II). The shorter of b and a counts as padded with zeros to
// nfilt = max(length(b), length(a)); zi holds nfilt − 1 values (empty: all zero).
// When a(1) is not 1, b and a are divided by it first.
// Throws rt::Error for an empty or zero a(1), an empty b, or a zi of the wrong length.
Eigen::VectorXd filter(const Eigen::VectorXd& b, const Eigen::VectorXd& a, const Eigen::VectorXd& x,
                       const Eigen::VectorXd& zi = {});

// The same recurrence over y in place. z (nfilt − 1 values) holds the state going in and is
// left holding the final state, so a signal can be filtered piece by piece.
// Throws like filter(), also when z has the wrong length.
void filterInPlace(const Eigen::VectorXd& b, const Eigen::VectorXd& a,
                   Eigen::Ref<Eigen::VectorXd> y, Eigen::Ref<Eigen::VectorXd> z);

}  // namespace rt
