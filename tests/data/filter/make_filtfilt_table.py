#!/usr/bin/python3
# Made once with scipy.signal (Debian python3-scipy 1.10) to write filtfilt_table.txt; not part of any build.
# Each case: lines "b", "a", "x", "y" with a count and %.17g values; y = filtfilt with odd
# (point-reflection) padding of 3·(max(len(a), len(b)) − 1) samples.
import numpy as np
from scipy import signal

def line(tag, values):
    values = list(values)
    return tag + " " + str(len(values)) + "".join(" %.17g" % v for v in values)

rng = np.random.default_rng(20261209)
filters = [
    signal.butter(3, 0.25),
    signal.butter(3, 0.05),
    signal.butter(2, [0.2, 0.5], btype="bandpass"),
    signal.butter(4, 0.6, btype="highpass"),
    (np.array([0.5, 0.5]), np.array([1.0])),
    (np.array([1.0]), np.array([1.0, -0.5])),
]
out = []
for b, a in filters:
    nfilt = max(len(a), len(b))
    for length in (3 * (nfilt - 1) + 1, 57):
        x = rng.standard_normal(length) + np.linspace(0, 3, length)
        y = signal.filtfilt(b, a, x, padtype="odd", padlen=3 * (nfilt - 1))
        out += [line("b", b), line("a", a), line("x", x), line("y", y)]
open("filtfilt_table.txt", "w").write("\n".join(out) + "\n")
