#!/usr/bin/env python3
"""Two commands run in turn N times each, so that whatever else the machine does weighs on
both alike; prints the median processor time (user + system, from the kernel's accounting of
the child) and wall time of each, and their ratios.

usage: bench/paired_runs.py N -- COMMAND [ARGS...] -- PEER [ARGS...]
"""
import os
import statistics
import sys
import time

args = sys.argv[1:]
if len(args) < 4 or args[1] != '--' or args.count('--') != 2:
    sys.exit(__doc__)
n = int(args[0]); rest = args[2:]
cmds = []; cur = []
for a in rest:
    if a == '--': cmds.append(cur); cur = []
    else: cur.append(a)
cmds.append(cur)
devnull = os.open(os.devnull, os.O_WRONLY)
res = [[] for _ in cmds]; wall = [[] for _ in cmds]
for i in range(n):
    for k, c in enumerate(cmds):
        t0 = time.perf_counter()
        pid = os.posix_spawnp(c[0], c, os.environ, file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1)])
        _, status, ru = os.wait4(pid, 0)
        t1 = time.perf_counter()
        res[k].append((ru.ru_utime + ru.ru_stime) * 1000); wall[k].append((t1 - t0) * 1000)
for k, c in enumerate(cmds):
    print("%-40s cpu median %.2f ms  wall median %.2f ms" % (' '.join(c)[:40], statistics.median(res[k]), statistics.median(wall[k])))
print("ratio cpu %.2f  wall %.2f" % (statistics.median(res[0]) / statistics.median(res[1]), statistics.median(wall[0]) / statistics.median(wall[1])))
