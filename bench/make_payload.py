#!/usr/bin/env python3
"""A deterministic installer payload, generated for each run and never kept.

    make_payload.py DIR FILES MEGABYTES      mixed: a third text, a third
                                            structured binary, a third random
    make_payload.py DIR FILES 0 SIZE         FILES files of SIZE bytes each
"""
import os
import random
import sys


def mixed(out, n, total_mb, rng):
    words = [''.join(rng.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rng.randint(2, 10)))
             for _ in range(3000)]
    per = total_mb * 1024 * 1024 // n
    for i in range(n):
        kind = i % 3
        size = max(64, int(per * rng.uniform(0.2, 1.8)))
        if kind == 0:
            buf, length = [], 0
            while length < size:
                w = rng.choice(words)
                buf.append(w)
                length += len(w) + 1
            data = ' '.join(buf).encode()[:size]
        elif kind == 1:
            record = bytes(rng.randrange(256) for _ in range(64))
            data = bytearray()
            while len(data) < size:
                r = bytearray(record)
                r[rng.randrange(64)] = rng.randrange(256)
                data += r
            data = bytes(data[:size])
        else:
            data = rng.randbytes(size)
        yield i, data


def fixed(n, size, rng):
    for i in range(n):
        yield i, rng.randbytes(size)


def main():
    out, n, total_mb = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    rng = random.Random(12345)
    files = mixed(out, n, total_mb, rng) if total_mb > 0 else fixed(n, int(sys.argv[4]), rng)
    # Twenty folders at most, as a product's tree has, however many files.
    for i, data in files:
        d = os.path.join(out, f"dir{i % 20:02d}")
        os.makedirs(d, exist_ok=True)
        with open(os.path.join(d, f"file{i:05d}.dat"), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
