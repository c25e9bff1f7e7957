#!/usr/bin/python3
"""Times what a conversion asks of one engine host for a document's first page, with the indent
repair between: open, repaginate, page count, paragraphs, the indent writes, and the goto that
lays the repaired document out.
Usage: bench/indent_relayout.py HOST DOCUMENT [--warm]   (HOST: build/bin/marrowdale-wordhost)
--warm first warms the host as the program does with its spare."""
import os, subprocess, sys, time

host, document = sys.argv[1], os.path.abspath(sys.argv[2])
proc = subprocess.Popen([host, "--serve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)

def call(line, payload=b""):
    start = time.monotonic()
    if payload:
        line += f" payload={len(payload)}"
    proc.stdin.write(line.encode() + b"\n" + payload)
    proc.stdin.flush()
    reply = proc.stdout.readline().decode().strip()
    size = 0
    for field in reply.split()[1:]:
        key, _, value = field.partition("=")
        if key == "payload":
            size = int(value)
    body = proc.stdout.read(size) if size else b""
    took = (time.monotonic() - start) * 1000
    if not reply.startswith("ok"):
        sys.exit(f"{line.split()[0]}: {reply}")
    return reply, body, took

def quoted(path):
    return "".join(c if c.isalnum() or c in "._-/:,+" else "%%%02X" % b
                   for c in path for b in c.encode())

if "--warm" in sys.argv[3:]:
    print(f"{'warm':12} {call('warm')[2]:8.0f} ms")
call("hello version=1")
for label, line in [("open", "open path=" + quoted(document)), ("repaginate", "repaginate"),
                    ("page count", "property index=14")]:
    reply, _, took = call(line)
    print(f"{label:12} {took:8.0f} ms  {reply}")
_, body, took = call("paragraphs")
indents = [tuple(map(float, l.split())) for l in body.decode().splitlines()]
print(f"{'paragraphs':12} {took:8.0f} ms  {len(indents)} paragraphs")
writes = "".join(f"{i} {side} 0\n" for i, (left, right) in enumerate(indents)
                 for side, value in (("left", left), ("right", right)) if value < 0)
_, _, took = call("setindents", writes.encode())
print(f"{'setindents':12} {took:8.0f} ms  {writes.count(chr(10))} writes")
reply, _, took = call("goto what=1 which=2 name=2")
print(f"{'relayout':12} {took:8.0f} ms  (the goto after the writes)")
reply, _, took = call("property index=14")
print(f"{'page count':12} {took:8.0f} ms  {reply}")
call("quit")
proc.wait()
