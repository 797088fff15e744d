#!/usr/bin/python3
"""One-time generator of reference values for tests/signal (not a build dependency).

Run with Debian's python3-numpy and python3-scipy: /usr/bin/python3 gen_reference.py
It writes reference.txt: blocks of "case NAME", then "KEY r|c ROWS COLS v..." lines
(column-major; complex values as re im pairs), then "end".
"""
import numpy as np
import scipy
import scipy.integrate as si
import scipy.signal as ss
import scipy.special as sp

rng = np.random.default_rng(20261209)
out = []


def put(key, a):
    a = np.atleast_2d(np.asarray(a))
    if a.ndim == 2 and a.shape[0] == 1 and key.endswith("_col"):
        a = a.T
    kind = "c" if np.iscomplexobj(a) else "r"
    vals = a.flatten(order="F")
    if kind == "c":
        toks = " ".join("%r %r" % (float(v.real), float(v.imag)) for v in vals)
    else:
        toks = " ".join("%r" % float(v) for v in vals)
    out.append("%s %s %d %d %s" % (key, kind, a.shape[0], a.shape[1], toks))


def case(name, **items):
    out.append("case " + name)
    for k, v in items.items():
        put(k, v)
    out.append("end")


# kaiser: numpy's window (I0 by Chebyshev series).
for n, beta in [(2, 5.0), (3, 5.0), (5, 0.0), (10, 5.0), (11, 8.6), (101, 5.0), (64, 2.5)]:
    case("kaiser_%d_%g" % (n, beta), n=n, beta=beta, w_col=np.kaiser(n, beta))

# firls: scipy designs odd lengths (type I) with bands in [0, 1] for fs = 2.
firls_cases = [
    ("lowpass_fullband", 100, [0, 0.2, 0.2, 1], [1, 1, 0, 0], None),
    ("lowpass_transition", 30, [0, 0.3, 0.5, 1], [1, 1, 0, 0], None),
    ("weighted", 40, [0, 0.3, 0.4, 1], [1, 1, 0, 0], [1, 10]),
    ("slopes", 24, [0, 0.2, 0.3, 0.6, 0.7, 1], [0, 1, 1, 0.5, 0, 0], [2, 1, 3]),
    ("bandpass", 60, [0, 0.1, 0.2, 0.4, 0.5, 1], [0, 0, 1, 1, 0, 0], None),
]
for name, order, F, A, W in firls_cases:
    h = ss.firls(order + 1, F, A, weight=W)
    items = dict(N=order, F=F, A=A, h=h)
    if W is not None:
        items["W"] = W
    case("firls_" + name, **items)


# firls "differentiator" (scipy has none): the least-squares sine series of odd length by
# quadrature, weighted 1/f^2 from 1e-5 (f in cycles per sample) and fitted to the straight
# line through the band's edges as given. The filter h = 0.5 [a(L) .. a(1) 0 -a(1) .. -a(L)]
# then responds with j A(f) exp(-j w c) (c the centre tap): a differentiator for A = w.
def firls_differentiator(order, F, A):
    f0, f1 = F[0] / 2, F[1] / 2
    slope = (A[1] - A[0]) / (f1 - f0)
    line = lambda f: A[0] + slope * (f - f0)
    lo = max(f0, 1e-5)
    m = np.arange(1, order // 2 + 1)
    opts = dict(epsabs=1e-14, epsrel=1e-13, limit=500)
    G = np.array([[si.quad(lambda f: np.sin(2 * np.pi * i * f) * np.sin(2 * np.pi * j * f)
                           / f**2, lo, f1, **opts)[0] for j in m] for i in m])
    b = np.array([si.quad(lambda f: line(f) * np.sin(2 * np.pi * i * f) / f**2, lo, f1,
                          **opts)[0] for i in m])
    a = np.linalg.solve(G, b)
    return 0.5 * np.concatenate([a[::-1], [0], -a])


case("firls_differentiator", N=30, F=[0, 0.9], A=[0, 0.9 * np.pi], differentiator=1,
     h=firls_differentiator(30, [0, 0.9], [0, 0.9 * np.pi]))

# czt: scipy's points a w^-k, as ours.
for i, (m, k, w, a) in enumerate([
        (16, 16, None, None),
        (37, 21, np.exp(-2j * np.pi * 0.013), np.exp(2j * np.pi * 0.05)),
        (100, 251, 0.9999 * np.exp(-2j * np.pi * 0.002), 1.01 * np.exp(0.3j)),
        (8, 3, np.exp(-0.7j), 1.0)]):
    x = rng.standard_normal((m, 3)) + 1j * rng.standard_normal((m, 3))
    if w is None:
        y = ss.czt(x, axis=0)
        case("czt_%d" % i, x=x, y=y)
    else:
        y = ss.czt(x, k, w, a, axis=0)
        case("czt_%d" % i, x=x, k=k, w=complex(w), a=complex(a), y=y)

# hilbert: scipy's analytic signal, optional length.
for i, (rows, cols, n) in enumerate([(16, 1, None), (15, 2, None), (10, 1, 16), (33, 1, 20)]):
    x = rng.standard_normal((rows, cols))
    y = ss.hilbert(x, N=n, axis=0)
    items = dict(x=x, y=y)
    if n is not None:
        items["n"] = n
    case("hilbert_%d" % i, **items)

# The Hann window of length n without its zero ends.
def hann_inner(n):
    return ss.windows.hann(n + 2)[1:-1]


# specgram, FFT path: scipy's complex spectrogram, unscaled (it divides by the window's sum)
# and timed from each slice's start (it gives the centre).
for i, (nx, nfft, nwind, nov, cplx) in enumerate([
        (1000, 256, 256, 128, False), (777, 255, 200, 50, False), (500, 64, 40, 30, True)]):
    x = rng.standard_normal(nx) + (1j * rng.standard_normal(nx) if cplx else 0)
    win = hann_inner(nwind)
    fs = 1000.0
    f, t, S = ss.spectrogram(x, fs, window=win, nperseg=nwind, noverlap=nov, nfft=nfft,
                             detrend=False, return_onesided=not cplx, scaling="spectrum",
                             mode="complex")
    case("specgram_fft_%d" % i, x_col=x, nfft=nfft, fs=fs, nwind=nwind, noverlap=nov,
         B=S * win.sum(), F_col=np.mod(f, fs), T_col=t - nwind / 2 / fs)


# resample: scipy's resample_poly with the design's filter, the ideal low-pass at half the
# lower rate tapered by a Kaiser window (beta 5) over 20 max(p, q) + 1 taps; resample_poly
# multiplies it by p.
def resample_ref(x, p, q, N=10, beta=5.0):
    pqmax = max(p, q)
    h = ss.firwin(2 * N * pqmax + 1, 1 / pqmax, window=("kaiser", beta), scale=False)
    return ss.resample_poly(x, p, q, window=h), p * h


for i, (lx, p, q) in enumerate([(441, 1, 5), (480, 147, 800), (100, 3, 2), (57, 2, 3), (200, 5, 7)]):
    x = rng.standard_normal(lx)
    y, h = resample_ref(x, p, q)
    # Long filters are checked by every 50th tap to keep the file small.
    case("resample_%d" % i, x_col=x, p=p, q=q, y_col=y, h_every50=h[::50])

# specgram at listed frequencies (chirp-z and direct paths): a direct DFT of each
# Hann-weighted slice at each frequency, phase counted from the slice's start.
for i, (nx, freqs, fs, nwind, nov) in enumerate([
        (2000, np.linspace(25, 325, 61), 8820.0, 300, 150),
        (1200, np.array([10.0, 55, 60.5, 200, 401, 1000]), 4000.0, 128, 100),
        (900, np.linspace(100, 400, 20), 2000.0, 200, 50)]):
    x = rng.standard_normal(nx)
    win = hann_inner(nwind)
    step = nwind - nov
    starts = np.arange((nx - nov) // step) * step
    n = np.arange(nwind)
    E = np.exp(-2j * np.pi * np.outer(freqs, n) / fs)
    B = np.stack([E @ (win * x[s:s + nwind]) for s in starts], 1)
    case("specgram_band_%d" % i, x_col=x, f_col=freqs, fs=fs, nwind=nwind, noverlap=nov, B=B,
         T_col=starts / fs)

# Special functions.
zs = np.array([1, 0.5, 2.5, 10, 1j, 3j, 40j, -1 + 0j, -3 + 0.5j, 0.2 - 0.7j, -20 + 1e-3j, 5 + 5j])
case("expint", z=zs, e1=sp.exp1(zs))
xs = np.array([0, 0.5, 1, 5, 8.6, 20, 100, 700])
case("besseli0", x=xs, i0=sp.i0(xs))

with open("reference.txt", "w") as f:
    f.write("# numpy %s, scipy %s (Debian python3-numpy, python3-scipy)\n"
            % (np.__version__, scipy.__version__))
    f.write("\n".join(out) + "\n")
