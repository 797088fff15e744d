#!/usr/bin/python3
# Made once with scipy.signal (Debian python3-scipy 1.10) to write butter_table.txt; not part of any build.
# Each case: "case <digital|analog> <low|bandpass|high|stop> <n> <wn...>", then lines
# "num", "den" (coefficients), "zr"/"zi", "pr"/"pi" (zeros and poles, real and imaginary
# parts, sorted) and "k", each with a count and %.17g values.
import numpy as np
from scipy import signal

def line(tag, values):
    values = list(values)
    return tag + " " + str(len(values)) + "".join(" %.17g" % v for v in values)

def sort_roots(r):
    r = np.asarray(r, dtype=complex)
    return r[np.lexsort((np.round(r.imag, 9), np.round(r.real, 9)))]

kinds = {"low": "lowpass", "high": "highpass", "bandpass": "bandpass", "stop": "bandstop"}
cutoffs = {
    ("digital", "low"): [[0.05], [0.25], [0.5], [0.8]],
    ("digital", "high"): [[0.05], [0.25], [0.5], [0.8]],
    ("digital", "bandpass"): [[0.1, 0.3], [0.2, 0.6], [0.45, 0.55]],
    ("digital", "stop"): [[0.1, 0.3], [0.2, 0.6], [0.45, 0.55]],
    ("analog", "low"): [[0.5], [2.0], [100.0]],
    ("analog", "high"): [[0.5], [2.0], [100.0]],
    ("analog", "bandpass"): [[1.0, 3.0], [50.0, 200.0]],
    ("analog", "stop"): [[1.0, 3.0], [50.0, 200.0]],
}
out = []
for (dom, kind), wns in cutoffs.items():
    for n in range(1, 9):
        for wn in wns:
            analog = dom == "analog"
            w = wn[0] if len(wn) == 1 else wn
            b, a = signal.butter(n, w, btype=kinds[kind], analog=analog, output="ba")
            z, p, k = signal.butter(n, w, btype=kinds[kind], analog=analog, output="zpk")
            z, p = sort_roots(z), sort_roots(p)
            out.append("case %s %s %d %s" % (dom, kind, n, " ".join("%.17g" % v for v in wn)))
            out += [line("num", b), line("den", a), line("zr", z.real), line("zi", z.imag),
                    line("pr", p.real), line("pi", p.imag), line("k", [k])]
open("butter_table.txt", "w").write("\n".join(out) + "\n")
