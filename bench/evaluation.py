#!/usr/bin/python3
"""The evaluation of a run written with numpy/scipy, timed beside bench_evaluation.

Usage: /usr/bin/python3 bench/evaluation.py BUILD_DIR/bench/bench_evaluation
Runs the C++ benchmark (JSON output), then the same steps here on one thread (read the
recording, tone track of both channels, low-pass design, split smoothing, acceleration,
distance, road power, gear ratio, air correction, torque), and prints both figures with their
ratio. Needs Debian's python3-numpy and python3-scipy.
"""
import os
import tempfile

import numpy as np
import scipy.io.wavfile
import scipy.signal as ss

from tone_track import best_ms, cpp_times, report, tone_track


def recording(fs):
    n = int(fs * 60)
    i = np.arange(n)
    rps = (3000 + 8000 * np.sqrt(i / n)) / 60
    phase = np.cumsum(2 * np.pi * 3 * rps / fs)
    s = 0.5 * np.sin(phase) + 0.2 * np.sin(2 * phase)
    rng = np.random.default_rng(42)
    y = np.stack([s + rng.normal(0, 0.1, n), 0.8 * s + rng.normal(0, 0.1, n)], 1)
    return np.clip(np.round(y * 32768), -32768, 32767).astype(np.int16)


def ext_diff(x):
    d = np.diff(x)
    return np.concatenate([[2 * d[0] - d[1]], d])


def evaluate(path, m=200, cw=0.5, A=0.75, fro=0.015, r=6.32, u=1.325, l=3, fl=1, T=20, p=1013):
    fs, data = scipy.io.wavfile.read(path)
    Y = data / 32768.0
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
    cpp = cpp_times(__doc__)
    rows = []
    with tempfile.TemporaryDirectory() as d:
        for fs in (44100, 48000):
            path = os.path.join(d, "run%d.wav" % fs)
            scipy.io.wavfile.write(path, fs, recording(fs))
            rows.append(("evaluation, cache miss, 60 s stereo at %d Hz" % fs,
                         cpp["BM_EvaluationMiss/%d" % fs], best_ms(lambda: evaluate(path), 3)))
    report(rows)
    print("evaluation, cache hit: %.3f ms" % cpp["BM_EvaluationHit"])


if __name__ == "__main__":
    main()
