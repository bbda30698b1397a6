#!/usr/bin/env python3
# Runs two creatures_bench binaries in turn, ROUNDS times, and prints the
# median CPU per frame of each for walking figures and rag dolls, and the
# ratio. Usage: python3 bench/creatures_compare.py OLD NEW [ROUNDS]
import re, subprocess, statistics, sys
base, new, n = sys.argv[1], sys.argv[2], int(sys.argv[3]) if len(sys.argv) > 3 else 5
res = {b: {'walk': [], 'rag': []} for b in (base, new)}
for i in range(n):
    for b in (base, new):
        out = subprocess.run([b], capture_output=True, text=True).stdout
        cpu = [float(x) for x in re.findall(r'cpu\s+([\d.]+) us/frame', out)]
        res[b]['walk'].append(cpu[0]); res[b]['rag'].append(cpu[1])
for k in ('walk', 'rag'):
    mb, mn = statistics.median(res[base][k]), statistics.median(res[new][k])
    print(f"{k}: base {mb:.1f} new {mn:.1f} us cpu median of {n}; ratio {mb/mn:.3f}")
