#!/usr/bin/python3
"""The channel conversions written with numpy/scipy, timed beside bench_conversion.

Usage: /usr/bin/python3 bench/conversion.py BUILD_DIR/bench/bench_conversion
Runs the C++ benchmark (JSON output), then the same steps here on one thread, and prints
both figures with their ratio. Needs Debian's python3-numpy and python3-scipy.
"""
import numpy as np
import scipy.signal as ss

# Also runs everything single-threaded, as the C++ figures are.
from tone_track import best_ms, cpp_times, report, tone_track


def tone_recording(fs, seconds):
    n = int(fs * seconds)
    i = np.arange(n)
    rps = (3000 + 9000 * i / n) / 60
    phase = np.cumsum(2 * np.pi * 3 * rps / fs)
    s = 0.5 * np.sin(phase) + 0.2 * np.sin(2 * phase)
    rng = np.random.default_rng(42)
    return np.stack([s + rng.normal(0, 0.1, n), 0.8 * s + rng.normal(0, 0.1, n)], 1)


def wheel_channel(fs, seconds):
    n = int(fs * seconds)
    y = np.random.default_rng(7).normal(0, 0.02, n)
    a = 50 / seconds
    k = np.arange(1, 100000)
    i = np.ceil((-10 + np.sqrt(100 + 2 * a * 1.9 * k)) / a * fs).astype(int)
    i = i[i + 4 <= n]
    for off, amp in enumerate((0.6, 1, -1, -0.6)):
        y[i + off] += amp
    return y


def wav2v(Y, FS, l, L, mr, Mr):
    t, track = tone_track(Y, FS, mr, Mr, L)
    return t, track / l


def dig2v(Y, FS, u, W):
    y = Y.mean(axis=1) if Y.ndim == 2 and Y.shape[1] == 2 else Y
    dY = np.abs(np.diff(y))
    dY = dY / dY.max()
    iii = np.nonzero(dY > 0.3679)[0]
    iii = np.delete(iii, np.nonzero(np.diff(iii) == 1)[0])
    d = np.diff(iii)
    iii = np.delete(iii, np.nonzero(d < d.mean() - 3 * d.std(ddof=1))[0])
    t = iii / FS
    dt = np.diff(t)
    v = u / dt / W
    t = t[:-1] + dt
    keep = ~(v > (500 if u == 1 and W == 1 else 300 / 3.6))
    t, v = t[keep], v[keep]
    b, a = ss.butter(3, 0.25)
    V = ss.filtfilt(b, a, v, padtype="odd", padlen=3 * (max(len(a), len(b)) - 1))
    keep = ~(V - v < -np.maximum(0.1, 2 * v * v * W / (u * FS)))
    return t[keep], v[keep]


def main():
    cpp = cpp_times(__doc__)
    rows = []
    for seconds in (30, 120):
        for fs in (44100, 48000):
            Y = tone_recording(fs, seconds)
            rows.append(("wav2v, %d s stereo at %d Hz" % (seconds, fs),
                         cpp["BM_Wav2v/%d/%d" % (fs, seconds)],
                         best_ms(lambda: wav2v(Y, fs, 3, 3, 500, 16000), 5)))
    y = wheel_channel(44100, 120)
    rows.append(("dig2v, 120 s wheel channel at 44100 Hz", cpp["BM_Dig2v/44100"],
                 best_ms(lambda: dig2v(y, 44100, 1.9, 1), 5)))
    report(rows)


if __name__ == "__main__":
    main()
