#!/usr/bin/env python3
"""Independent model of the score scrambler, used to compute the known-answer table
in test_chiffre.cpp. Every floating-point step is done in exact rational arithmetic
and then rounded (to nearest, ties to even) to the format the step prescribes:
64 significant bits for the extended format, 53 for a double.

    python3 chiffre_reference.py KEY TEXT      prints Encrypt(TEXT) and the shifts
"""
import sys
from fractions import Fraction
from math import floor, trunc

PI_DIGITS = "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899"
ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"


def round_bits(q, bits):
    """q rounded to the nearest binary float with `bits` significant bits."""
    if q == 0:
        return Fraction(0)
    sign = -1 if q < 0 else 1
    q = abs(q)
    e = floor(q.numerator.bit_length() - q.denominator.bit_length())
    # adjust so that 2**e <= q < 2**(e+1)
    while Fraction(2) ** e > q:
        e -= 1
    while Fraction(2) ** (e + 1) <= q:
        e += 1
    ulp = Fraction(2) ** (e - bits + 1)
    n = q / ulp
    lo = floor(n)
    rest = n - lo
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and lo % 2 == 1):
        lo += 1
    return sign * lo * ulp


def ext(q):
    return round_bits(q, 64)


def dbl(q):
    return round_bits(q, 53)


PI = ext(Fraction(PI_DIGITS))


def shifts(k, length, n):
    x = dbl(abs(ext(Fraction(k) / PI)))
    out = []
    for _ in range(n):
        x = dbl(x - trunc(x))
        s = trunc(ext(length * x))
        out.append(-s if k < 0 else s)
        x = dbl(ext(ext(x * 997) + PI))
    return out


def transform(text, k, alphabet=ALPHABET):
    L = len(alphabet)
    res = []
    for c, s in zip(text, shifts(k, L, len(text))):
        i = alphabet.find(c)
        res.append(c if i < 0 else alphabet[(i + L + s) % L])
    return "".join(res)


if __name__ == "__main__":
    key, text = int(sys.argv[1]), sys.argv[2]
    print(transform(text, key))
    print(shifts(key, len(ALPHABET), len(text)))
