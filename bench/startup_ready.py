#!/usr/bin/env python3
"""Starts a program and times exec until its local socket answers a request: wall time, the CPU
time it used until then and its RSS at that moment. Prints one JSON line.
    startup_ready.py SOCKET REQUEST PROGRAM [ARG...]"""
import json
import os
import socket
import subprocess
import sys
import time


def answers(path, request):
    try:
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
            s.settimeout(2)
            s.connect(path)
            s.sendall(request.encode() + b"\n")
            return bool(s.recv(64))
    except OSError:
        return False


def main():
    path, request, program = sys.argv[1], sys.argv[2], sys.argv[3:]
    ticks = os.sysconf("SC_CLK_TCK")
    start = time.monotonic()
    child = subprocess.Popen(program, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    while not answers(path, request):
        if child.poll() is not None:
            sys.exit(f"{program[0]} exited before it answered")
        time.sleep(0.0005)
    ready_ms = (time.monotonic() - start) * 1000
    with open(f"/proc/{child.pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    cpu_ms = (int(fields[11]) + int(fields[12])) * 1000 / ticks
    with open(f"/proc/{child.pid}/status") as f:
        rss_kb = next(int(line.split()[1]) for line in f if line.startswith("VmRSS"))
    print(json.dumps({"pid": child.pid, "ready_ms": ready_ms, "cpu_ms": cpu_ms, "rss_kb": rss_kb}))


main()
