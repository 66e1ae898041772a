#!/usr/bin/env python3
"""Idle cost of two running Wine programs, read from the host: CPU time, wake-ups (context
switches of all threads) and resident memory over a quiet interval. Prints the bench's format.
   idle_cost.py SECONDS OURS_NAME BASELINE_NAME   (names as they appear in the command lines)"""
import json, os, sys, time

def pid_of(name):
    for pid in os.listdir('/proc'):
        if not pid.isdigit():
            continue
        try:
            cmd = open(f'/proc/{pid}/cmdline', 'rb').read().replace(b'\0', b' ').decode(errors='replace')
        except OSError:
            continue
        if name in cmd and 'idle_cost' not in cmd:
            return int(pid)
    sys.exit(f'no running process for {name}')

def sample(pid):
    hz = os.sysconf('SC_CLK_TCK')
    fields = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
    cpu_ms = (int(fields[11]) + int(fields[12])) * 1000 / hz
    switches = 0
    for task in os.listdir(f'/proc/{pid}/task'):
        for line in open(f'/proc/{pid}/task/{task}/status'):
            if line.startswith(('voluntary_ctxt_switches', 'nonvoluntary_ctxt_switches')):
                switches += int(line.split()[1])
    rss = next(int(l.split()[1]) for l in open(f'/proc/{pid}/status') if l.startswith('VmRSS')) / 1024
    return cpu_ms, switches, rss

def report(name, unit, ours, base):
    # CPU comes in 10 ms ticks, so the bare program often shows none: no ratio then (a 0 would
    # read as "better"), unless both are idle alike.
    ratio = ours / base if base else (1.0 if ours == 0 else None)
    shown = f'{ratio:.2f}' if ratio is not None else 'n/a'
    print(f'{name}: {ours:.2f} / {base:.2f} = {shown} ({unit})')
    print(json.dumps({'name': name, 'unit': unit, 'ours': ours, 'baseline': base,
                      'ratio': round(ratio, 3) if ratio is not None else None}))

seconds, ours, base = float(sys.argv[1]), sys.argv[2], sys.argv[3]
pids = pid_of(ours), pid_of(base)
before = [sample(p) for p in pids]
time.sleep(seconds)
after = [sample(p) for p in pids]
report('idle_cpu', f'ms of CPU in {seconds:g} s', after[0][0] - before[0][0], after[1][0] - before[1][0])
report('idle_wakeups', f'context switches in {seconds:g} s', after[0][1] - before[0][1], after[1][1] - before[1][1])
report('resident_memory', 'MB', after[0][2], after[1][2])
