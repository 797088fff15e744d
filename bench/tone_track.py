#!/usr/bin/python3
"""The tone-track analysis core written with numpy/scipy, timed beside bench_tone_track.

Usage: /usr/bin/python3 bench/tone_track.py BUILD_DIR/bench/bench_tone_track
Runs the C++ benchmark (JSON output), then the same steps here on one thread, and prints
both figures with their ratio. Needs Debian's python3-numpy and python3-scipy.
"""
import os

for var in ("OMP_NUM_THREADS", "OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ[var] = "1"

import json
import subprocess
import sys
import time

import numpy as np
import scipy.fft
import scipy.signal as ss


def stereo(fs, seconds):
    n = int(fs * seconds)
    t = np.arange(n) / fs
    phase = np.cumsum(2 * np.pi * (100 + 500 * t / seconds) / fs)
    s = 0.5 * np.sin(phase) + 0.2 * np.sin(2 * phase)
    rng = np.random.default_rng(42)
    return np.stack([s + rng.normal(0, 0.05, n), 0.8 * s + rng.normal(0, 0.05, n)], 1)


def design(p, q, N=10, beta=5.0):
    # The least-squares design of the program's path reduces to the windowed ideal low-pass.
    pqmax = max(p, q)
    fc = 1 / (2 * pqmax)
    L = 2 * N * pqmax + 1
    n = np.arange(L)
    return p * 2 * fc * np.sinc(2 * fc * (n - (L - 1) / 2)) * np.kaiser(L, beta)


def resample(x, p, q):
    h = design(p, q)
    L = len(h)
    Lhalf = (L - 1) / 2
    nz = int(np.floor(q - np.mod(Lhalf, q)))
    Lhalf += nz
    delay = int(np.floor(np.ceil(Lhalf) / q))
    Lx = len(x)
    lh = L + nz
    nz1 = 0
    while np.ceil(((Lx - 1) * p + lh + nz1) / q) - delay < np.ceil(Lx * p / q):
        nz1 += 1
    hp = np.concatenate([np.zeros(nz), h, np.zeros(nz1)])
    y = ss.upfirdn(hp, x, p, q)
    Ly = int(np.ceil(Lx * p / q))
    return y[delay:delay + Ly]


def tone_track(Y, FS, mr=500, Mr=16000, L=3):
    """Slice centres [s] and the peak frequency [Hz] of each slice."""
    y = 0.5 * (Y[:, 0] + Y[:, 1]) if Y.ndim == 2 else Y
    if FS != 8820:
        p, q = {44100: (1, 5), 48000: (147, 800)}[FS]
        y = resample(y, p, q)
    y = y - y.mean()
    freq = (mr + (Mr - mr) / 1500 * np.arange(1501)) / 60 * L
    d = len(y) / 8820
    overlap = max(1, int(np.ceil(np.log10(d / 2))))
    noverlap = int(np.floor(3528 * 0.9 / overlap))
    nwind = 3528
    win = 0.5 * (1 - np.cos(2 * np.pi * np.arange(1, nwind + 1) / (nwind + 1)))
    step = nwind - noverlap
    ncol = (len(y) - noverlap) // step
    idx = np.arange(nwind)[:, None] + step * np.arange(ncol)[None, :]
    slices = win[:, None] * y[idx]
    m = len(freq)
    w = np.exp(-2j * np.pi * (freq[-1] - freq[0]) / ((m - 1) * 8820))
    a = np.exp(2j * np.pi * freq[0] / 8820)
    B = ss.czt(slices, m, w, a, axis=0)
    return step * np.arange(ncol) / 8820 + 0.2, freq[np.argmax(np.abs(B), axis=0)]


def best_ms(f, repeats):
    # Process CPU time, as the C++ figures: the machine may be shared.
    f()
    times = []
    for _ in range(repeats):
        t0 = time.process_time()
        f()
        times.append(time.process_time() - t0)
    return 1000 * float(np.median(times))


def cpp_times(doc, filter=None, min_time=1):
    """Runs the C++ benchmark named on the command line: CPU milliseconds by benchmark name."""
    if len(sys.argv) < 2:
        sys.exit(doc)
    args = [sys.argv[1], "--benchmark_format=json", "--benchmark_min_time=%g" % min_time]
    if filter:
        args.append("--benchmark_filter=" + filter)
    out = subprocess.run(args, capture_output=True, text=True, check=True).stdout
    cpp = {}
    for b in json.loads(out)["benchmarks"]:
        scale = {"ms": 1.0, "us": 1e-3, "ns": 1e-6}[b["time_unit"]]
        cpp[b["name"]] = b["cpu_time"] * scale
    return cpp


def report(rows):
    """Prints (name, C++ ms, numpy ms) rows with the numpy/C++ ratio."""
    print("numpy %s, scipy %s, one thread; process CPU time, C++ mean, numpy median"
          % (np.__version__, scipy.__version__))
    print("%-48s %12s %12s %8s" % ("", "C++ [ms]", "numpy [ms]", "ratio"))
    for name, c, p in rows:
        print("%-48s %12.4f %12.4f %7.1fx" % (name, c, p, p / c))


def main():
    cpp = cpp_times(__doc__)

    rows = []
    for fs in (44100, 48000):
        Y = stereo(fs, 60)
        rows.append(("tone track, 60 s stereo at %d Hz" % fs,
                     cpp["BM_ToneTrack/%d" % fs], best_ms(lambda: tone_track(Y, fs), 5)))
    for fs, (p, q) in ((44100, (1, 5)), (48000, (147, 800))):
        x = stereo(fs, 60)[:, 0].copy()
        h = design(p, q)
        rows.append(("upfirdn %d/%d, %d taps, 60 s at %d Hz" % (p, q, len(h), fs),
                     cpp["BM_UpfirdnKernel/%d" % fs], best_ms(lambda: ss.upfirdn(h, x, p, q), 5)))
    rng = np.random.default_rng(1)
    v = rng.normal(size=8192) + 1j * rng.normal(size=8192)
    rows.append(("complex FFT, 8192 points (numpy.fft)", cpp["BM_Fft8192"],
                 best_ms(lambda: np.fft.fft(v), 2000)))
    rows.append(("complex FFT, 8192 points (scipy.fft)", cpp["BM_Fft8192"],
                 best_ms(lambda: scipy.fft.fft(v), 2000)))
    report(rows)


if __name__ == "__main__":
    main()
