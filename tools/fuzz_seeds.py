#!/usr/bin/env python3
"""Picks a small seed corpus: the fewest inputs that together reach every code edge that all
candidates reach. libFuzzer's own -merge keeps one input per new hit-count bucket and so keeps
hundreds; a greedy cover over plain edges keeps a few dozen.

    fuzz_seeds.py FUZZER SEED_DIR [CANDIDATE_DIR...] [--most N]

Hand-written seeds (names that are not 40 hex digits) always stay. Generated ones in SEED_DIR
are replaced by the chosen candidates, named by the SHA-1 of their bytes as libFuzzer names them.
"""
import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

GENERATED = re.compile(r"^[0-9a-f]{40}$")


def edges(fuzzer, path, scratch):
    """The edges one input reaches, from the control file of a merge of that input alone."""
    alone = os.path.join(scratch, "alone")
    out = os.path.join(scratch, "out")
    control = os.path.join(scratch, "control")
    for folder in (alone, out):
        shutil.rmtree(folder, ignore_errors=True)
        os.mkdir(folder)
    os.symlink(os.path.abspath(path), os.path.join(alone, "input"))
    if os.path.exists(control):
        os.remove(control)
    subprocess.run([fuzzer, "-merge=1", "-use_counters=0", "-merge_control_file=" + control,
                    out, alone], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=False)
    found = set()
    if os.path.exists(control):
        with open(control) as lines:
            for line in lines:
                if line.startswith("COV "):
                    found.update(int(edge) for edge in line.split()[2:])
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("fuzzer")
    parser.add_argument("seeds")
    parser.add_argument("candidates", nargs="*")
    parser.add_argument("--most", type=int, default=40, help="generated seeds to keep at most")
    args = parser.parse_args()

    by_digest = {}
    for folder in [args.seeds] + args.candidates:
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if not os.path.isfile(path):
                continue
            with open(path, "rb") as f:
                digest = hashlib.sha1(f.read()).hexdigest()
            handmade = folder == args.seeds and not GENERATED.match(name)
            if digest not in by_digest or handmade:
                by_digest[digest] = (path, handmade)

    with tempfile.TemporaryDirectory() as scratch:
        reach = {d: edges(args.fuzzer, p, scratch) for d, (p, _) in by_digest.items()}

    covered = set()
    for digest, (_, handmade) in by_digest.items():
        if handmade:
            covered |= reach[digest]
    chosen = []
    left = {d for d, (_, handmade) in by_digest.items() if not handmade}
    while left and len(chosen) < args.most:
        best = max(left, key=lambda d: (len(reach[d] - covered),
                                        -os.path.getsize(by_digest[d][0])))
        if not reach[best] - covered:
            break
        chosen.append(best)
        covered |= reach[best]
        left.discard(best)

    everything = set().union(*reach.values()) if reach else set()
    payloads = {d: open(by_digest[d][0], "rb").read() for d in chosen}
    for name in os.listdir(args.seeds):
        if GENERATED.match(name):
            os.remove(os.path.join(args.seeds, name))
    for digest, payload in payloads.items():
        with open(os.path.join(args.seeds, digest), "wb") as f:
            f.write(payload)
    handmade = sum(1 for _, h in by_digest.values() if h)
    print(f"seeds: {handmade} hand-written + {len(chosen)} chosen of {len(by_digest)} inputs,"
          f" {len(covered)} of {len(everything)} edges")
    return 0


if __name__ == "__main__":
    sys.exit(main())
