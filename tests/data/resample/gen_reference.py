#!/usr/bin/python3
"""One-time generator of reference values for tests/signal (not a build dependency).

Run with Debian's python3-numpy and python3-scipy: /usr/bin/python3 gen_reference.py
It writes reference.txt: blocks of "case NAME", then "KEY r|c ROWS COLS v..." lines
(column-major; complex values as re im pairs), then "end".
"""
import numpy as np
import scipy
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

# specgram, FFT path: numpy FFT of Hann-weighted slices (window divisor n + 1).
for i, (nx, nfft, nwind, nov, cplx) in enumerate([
        (1000, 256, 256, 128, False), (777, 255, 200, 50, False), (500, 64, 40, 30, True)]):
    x = rng.standard_normal(nx) + (1j * rng.standard_normal(nx) if cplx else 0)
    win = 0.5 * (1 - np.cos(2 * np.pi * np.arange(1, nwind + 1) / (nwind + 1)))
    step = nwind - nov
    ncol = (nx - nov) // step
    Y = np.stack([np.fft.fft(win * x[c * step:c * step + nwind], nfft) for c in range(ncol)], 1)
    keep = nfft if cplx else (nfft + 1) // 2 if nfft % 2 else nfft // 2 + 1
    case("specgram_fft_%d" % i, x_col=x, nfft=nfft, fs=1000.0, nwind=nwind, noverlap=nov,
         B=Y[:keep], F_col=np.arange(keep) * 1000.0 / nfft, T_col=np.arange(ncol) * step / 1000.0)

# resample: the same design written with numpy (sinc, kaiser) and scipy's upfirdn.
def resample_ref(x, p, q, N=10, beta=5.0):
    pqmax = max(p, q)
    fc = 1 / (2 * pqmax)
    L = 2 * N * pqmax + 1
    n = np.arange(L)
    h = p * 2 * fc * np.sinc(2 * fc * (n - (L - 1) / 2)) * np.kaiser(L, beta)
    Lhalf = (L - 1) / 2
    nz = int(np.floor(q - np.mod(Lhalf, q)))
    hp = np.concatenate([np.zeros(nz), h])
    Lhalf += nz
    delay = int(np.floor(np.ceil(Lhalf) / q))
    Lx = len(x)
    nz1 = 0
    while np.ceil(((Lx - 1) * p + len(hp) + nz1) / q) - delay < np.ceil(Lx * p / q):
        nz1 += 1
    hp = np.concatenate([hp, np.zeros(nz1)])
    y = ss.upfirdn(hp, x, p, q)
    Ly = int(np.ceil(Lx * p / q))
    return y[delay:delay + Ly], h


for i, (lx, p, q) in enumerate([(441, 1, 5), (480, 147, 800), (100, 3, 2), (57, 2, 3), (200, 5, 7)]):
    x = rng.standard_normal(lx)
    y, h = resample_ref(x, p, q)
    # Long filters are checked by every 50th tap to keep the file small.
    case("resample_%d" % i, x_col=x, p=p, q=q, y_col=y, h_every50=h[::50])

# Special functions.
zs = np.array([1, 0.5, 2.5, 10, 1j, 3j, 40j, -1 + 0j, -3 + 0.5j, 0.2 - 0.7j, -20 + 1e-3j, 5 + 5j])
case("expint", z=zs, e1=sp.exp1(zs))
xs = np.array([0, 0.5, 1, 5, 8.6, 20, 100, 700])
case("besseli0", x=xs, i0=sp.i0(xs))

with open("reference.txt", "w") as f:
    f.write("# numpy %s, scipy %s (Debian python3-numpy, python3-scipy)\n"
            % (np.__version__, scipy.__version__))
    f.write("\n".join(out) + "\n")
