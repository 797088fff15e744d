#!/usr/bin/python3
"""The tone-track path from WAV files with numpy/scipy, timed beside bench_tone_path.

Usage: /usr/bin/python3 bench/tone_path.py BUILD_DIR/bench/bench_tone_path [rounds]
Writes the recordings once into a temporary folder, then in each round runs the C++ program
on one recording (a fresh process, so its first call is the process's first) and the same
steps here, interleaved. Prints medians over the rounds (default 5) with their ratios.
Needs Debian's python3-numpy and python3-scipy.
"""
import os

for var in ("OMP_NUM_THREADS", "OPENBLAS_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ[var] = "1"

import json
import subprocess
import sys
import tempfile
import time

import numpy as np
import scipy.io.wavfile as wavfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tone_track import stereo, tone_track  # noqa: E402

CASES = [("20s_44k_float_mono", 20, 44100, np.float32, 1),
         ("30s_44k_int16", 30, 44100, np.int16, 2), ("30s_48k_float", 30, 48000, np.float32, 2),
         ("120s_44k_int16", 120, 44100, np.int16, 2),
         ("120s_48k_float", 120, 48000, np.float32, 2)]


def read_doubles(path):
    fs, y = wavfile.read(path)
    if y.dtype == np.int16:
        return fs, y.astype(np.float64) / 32768
    return fs, y.astype(np.float64)


def tone_path(path):
    FS, Y = read_doubles(path)
    return tone_track(Y, FS)


def cpu_ms(f):
    t0 = time.process_time()
    f()
    return 1000 * (time.process_time() - t0)


def write_cases(folder):
    for name, seconds, fs, dtype, channels in CASES:
        y = stereo(fs, seconds).clip(-0.99, 0.99)[:, :channels]
        data = (np.round(y * 32768)).astype(np.int16) if dtype == np.int16 else y.astype(dtype)
        wavfile.write(os.path.join(folder, name + ".wav"), fs, data)


def run_cpp(exe, folder, name, peak=False):
    env = dict(os.environ, TONE_PATH_DIR=folder)
    args = [exe, "--benchmark_format=json", "--benchmark_min_time=0.5",
            "--benchmark_filter=/%s$" % name]
    if peak:
        # The by-name path alone in a fresh process: its first call's growth is the peak.
        args[2:] = ["--benchmark_min_time=0.01", "--benchmark_filter=ByName/%s$" % name]
    out = subprocess.run(args, env=env, capture_output=True, text=True, check=True).stdout
    res = {}
    for b in json.loads(out)["benchmarks"]:
        kind = b["name"].split("/")[0]
        res[kind] = b["cpu_time"]
        for counter in ("first_ms", "first_faults", "faults_per_call", "peak_x_doubles",
                        "slices"):
            if counter in b:
                res[kind + "." + counter] = b[counter]
    return res


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory(prefix="tone_path_") as folder:
        write_cases(folder)
        samples = {name: [] for name, *_ in CASES}
        for _ in range(rounds):
            for name, *_ in CASES:
                path = os.path.join(folder, name + ".wav")
                cpp = run_cpp(sys.argv[1], folder, name)
                py_first = cpu_ms(lambda: tone_path(path))
                cpp["numpy.path"] = np.median([cpu_ms(lambda: tone_path(path)) for _ in range(3)])
                cpp["numpy.first"] = py_first
                cpp["numpy.wavread"] = np.median([cpu_ms(lambda: read_doubles(path))
                                                  for _ in range(3)])
                peak = run_cpp(sys.argv[1], folder, name, peak=True)
                cpp["peak"] = peak["TonePathByName.peak_x_doubles"]
                cpp["unprepared.first"] = peak["TonePathByName.first_ms"]
                samples[name].append(cpp)

    print("numpy %s, scipy %s; process CPU ms, medians of %d interleaved rounds"
          % (np.__version__, __import__("scipy").__version__, rounds))
    cols = ("by name", "first", "typed", "numpy", "np/name", "name/typed", "specgram", "floor",
            "spec/floor", "faults", "1st alone", "peak/doubles")
    print("%-16s" % "" + "".join("%13s" % c for c in cols))
    for name, *_ in CASES:
        def med(key):
            return float(np.median([s[key] for s in samples[name]]))
        row = (med("TonePathByName"), med("TonePathByName.first_ms"), med("TonePathTyped"),
               med("numpy.path"))
        row += (row[3] / row[0], row[0] / row[2], med("SpecgramByName"), med("FftFloor"))
        row += (row[6] / row[7], med("TonePathByName.faults_per_call"), med("unprepared.first"),
                med("peak"))
        print("%-16s" % name + "".join("%13.2f" % v for v in row))
    print("first: the first call of a process started as the program starts; 1st alone: the "
          "same\nin a process that runs only that path (also where peak/doubles is measured)")
    print()
    print("%-16s%12s%12s%12s%12s" % ("wavread", "by name", "typed", "numpy", "np/name"))
    for name, *_ in CASES:
        def med(key):
            return float(np.median([s[key] for s in samples[name]]))
        a, b, c = med("WavreadByName"), med("WavreadTyped"), med("numpy.wavread")
        print("%-16s%12.2f%12.2f%12.2f%12.2f" % (name, a, b, c, c / a))


if __name__ == "__main__":
    main()
