#!/usr/bin/python3
"""The evaluation of a run written with numpy/scipy, timed beside bench_evaluation.

Usage: /usr/bin/python3 bench/evaluation.py BUILD_DIR/bench/bench_evaluation [rounds]
In each round (default 3) and for each case runs the C++ benchmark of that case (JSON
output), then the same steps here on one thread (read the
recording, tone track of both channels, or of the left one joined with the pulse conversion
of the right one, low-pass design, split smoothing, acceleration, distance, road power, gear
ratio, air correction, torque), interleaved, and prints the medians over the rounds with
their ratio, so that a machine whose load changes meanwhile weighs on both alike. Needs
Debian's python3-numpy and python3-scipy.
"""
import os
import sys
import tempfile

import numpy as np
import scipy.io.wavfile
import scipy.signal as ss

from conversion import dig2v
from tone_track import best_ms, cpp_times, report, tone_track


def recording(fs, seconds, wheel):
    n = int(fs * seconds)
    i = np.arange(n)
    rps = (3000 + 8000 * np.sqrt(i / n)) / 60
    phase = np.cumsum(2 * np.pi * 3 * rps / fs)
    s = 0.5 * np.sin(phase) + 0.2 * np.sin(2 * phase)
    rng = np.random.default_rng(42)
    right = 0.2 * rng.normal(0, 0.1, n) if wheel else 0.8 * s + rng.normal(0, 0.1, n)
    if wheel:
        turns = np.floor(np.cumsum(rps / 6.32 / fs))
        at = np.nonzero(np.diff(turns) > 0)[0] + 1
        at = at[at + 4 <= n]
        for k, amp in enumerate((0.6, 0.6, -0.6, -0.6)):
            right[at + k] += amp
    y = np.clip(np.stack([s + rng.normal(0, 0.1, n), right], 1), -0.99, 0.99)
    return np.clip(np.round(y * 32768), -32768, 32767).astype(np.int16)


def ext_diff(x):
    d = np.diff(x)
    return np.concatenate([[2 * d[0] - d[1]], d])


def evaluate(path, wheel, m=200, cw=0.5, A=0.75, fro=0.015, r=6.32, u=1.325, l=3, fl=1, T=20,
             p=1013):
    fs, data = scipy.io.wavfile.read(path)
    Y = data / 32768.0
    if wheel:
        t_rpm, f = tone_track(Y[:, 0], fs, 500, 16000, l)
        rps = f / l
        t, v = dig2v(Y[:, 1], fs, u, 1)
        if t[-1] > t_rpm.max():
            t_rpm, rps = np.append(t_rpm, t[-1]), np.append(rps, rps[-1])
        rpm = np.interp(t, t_rpm, rps, left=np.nan, right=np.nan) * 60
    else:
        t, f = tone_track(Y, fs, 500, 16000, l)
        v = f / l
        rpm = v * 60
        v = v * u / r
    keep = ~np.isnan(rpm)
    t, v, rpm = t[keep], v[keep], rpm[keep]
    ii = int(np.argmax(v))
    t, v, rpm = t[:ii + 1], v[:ii + 1], rpm[:ii + 1]
    Wn = 2 / fl * np.mean(np.diff(t))
    Wn = 0.999999 if Wn > 1 else Wn
    b, a = ss.butter(3, Wn)

    def ff(x):
        return ss.filtfilt(b, a, x, padtype="odd", padlen=9)

    def split(x):
        h = len(x) // 2
        return np.concatenate([ff(x)[:h], ff(x[::-1])[::-1][h:]])

    dt = ext_diff(t)
    v = split(v)
    rpm = split(rpm)
    acc = ff(ext_diff(v) / dt)
    X = np.cumsum(v * dt)
    Fr = 0.65 * cw * A * v ** 2
    Fro = m * 9.81 * fro
    Wr = (Fr + Fro) * v * dt
    Wv = 0.5 * m * np.diff(np.concatenate([[(2 * v[0] - v[1]) ** 2], v ** 2]))
    P = ff((Wv + Wr) / dt) / 1000
    gear = (rpm / 60) / v * u
    k = 1013 / p * np.sqrt((273 + T) / 293)
    P = P * k
    Pps = P * 1.35962
    M = Pps / rpm * 7024
    return rpm, np.stack([Pps, M], 1), acc, X, gear, v * 3.6


def main():
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    cases = [(20, 0, 44100), (60, 0, 44100), (120, 0, 44100), (20, 1, 44100), (60, 1, 44100),
             (120, 1, 44100), (60, 0, 48000)]
    cpp = {c: [] for c in cases}
    py = {c: [] for c in cases}
    with tempfile.TemporaryDirectory() as d:
        for seconds, wheel, fs in cases:
            scipy.io.wavfile.write(os.path.join(d, "run%d_%d_%d.wav" % (seconds, wheel, fs)), fs,
                                   recording(fs, seconds, wheel))
        for _ in range(rounds):
            for c in cases:
                name = "BM_EvaluationMiss/%d/%d/%d" % c
                cpp[c].append(cpp_times(__doc__, name + "$", 0.5)[name])
                path = os.path.join(d, "run%d_%d_%d.wav" % c)
                py[c].append(best_ms(lambda: evaluate(path, c[1]), 3))
    rows = [("miss, %d s %s at %d Hz" % (c[0], "tone+wheel" if c[1] else "tone", c[2]),
             float(np.median(cpp[c])), float(np.median(py[c]))) for c in cases]
    report(rows)
    print("medians of %d interleaved rounds" % rounds)
    print("evaluation, cache hit: %.3f ms" % cpp_times(__doc__, "BM_EvaluationHit")["BM_EvaluationHit"])


if __name__ == "__main__":
    main()
