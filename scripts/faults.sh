#!/usr/bin/env bash
# Replays the planted faults of scripts/faults.txt: each is applied alone to a
# copy of the source's file, the unit and window tests run in build-faults/,
# and the file is put back. Prints "caught" or "MISSED" per fault and the
# count; exits 1 when a fault was missed. Not run by CI (it builds once per
# fault).
# Usage: scripts/faults.sh [FAULT-NUMBER...]
# KS318_FAULT_TESTS=REGEX runs only the tests whose names match (quicker when
# the tests that should catch a fault are known; "caught" still means caught).
set -euo pipefail
cd "$(dirname "$0")/.."
export LANGUAGE= LC_ALL=ja_JP.UTF-8 QT_QPA_PLATFORM=offscreen
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-faults -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKS318_BENCH=OFF "${launcher[@]}" >/dev/null
python3 - "$@" <<'PY'
import os, re, subprocess, sys
faults = []
for line in open("scripts/faults.txt", encoding="utf-8"):
    if line.startswith("#") or not line.strip():
        continue
    path, text, replacement, what = [f.strip(" \n") for f in line.split(" | ")]
    replacement = "" if replacement == "(nothing)" else replacement
    faults.append((path, text.replace("\\n", "\n"), replacement.replace("\\n", "\n"), what))
wanted = {int(a) for a in sys.argv[1:]}
caught = missed = 0
# With a choice of tests only those programs are built, and the programs they run.
targets = []
if os.environ.get("KS318_FAULT_TESTS"):
    listed = subprocess.run(["ctest", "--test-dir", "build-faults", "-N", "-R", os.environ["KS318_FAULT_TESTS"]],
                            capture_output=True, text=True).stdout
    names = re.findall(r"Test +#\d+: (\S+)", listed)
    programs = [n for n in names if n.startswith(("tst_", "slow_"))]
    targets = ["--target"] + programs + ["ks318", "ks318-cli", "ks318-sim", "fileconv", "dialog-placement-probe"]
for number, (path, text, replacement, what) in enumerate(faults, 1):
    if wanted and number not in wanted:
        continue
    original = open(path, encoding="utf-8").read()
    if original.count(text) != 1:
        print(f"{number:2} STALE   {path}: the text occurs {original.count(text)} times ({what})")
        missed += 1
        continue
    try:
        open(path, "w", encoding="utf-8").write(original.replace(text, replacement))
        build = subprocess.run(["cmake", "--build", "build-faults", "-j2"] + targets, capture_output=True)
        if build.returncode != 0:
            result = "caught (does not build)"
        else:
            only = os.environ.get("KS318_FAULT_TESTS")
            tests = subprocess.run(["ctest", "--test-dir", "build-faults", "-L", "unit|gui", "-j2",
                                    "--stop-on-failure"] + (["-R", only] if only else []),
                                   capture_output=True, text=True)
            failed = [m.group(1) for l in tests.stdout.splitlines()
                      for m in [re.search(r"Test +#\d+: (\S+)", l)]
                      if m and ("***Failed" in l or "Exception" in l or "Timeout" in l)]
            result = f"caught by {' '.join(sorted(set(failed))) or 'a failing test'}" if tests.returncode else "MISSED"
    finally:
        open(path, "w", encoding="utf-8").write(original)
    if result == "MISSED":
        missed += 1
    else:
        caught += 1
    print(f"{number:2} {result:40} {path}: {what}", flush=True)
print(f"{caught} caught, {missed} missed")
subprocess.run(["cmake", "--build", "build-faults", "-j2"], capture_output=True)
sys.exit(1 if missed else 0)
PY
