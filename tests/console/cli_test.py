#!/usr/bin/env python3
"""VelmoraReport.exe as a user runs it, under Wine: its streams, files, exit
codes and JSON against the schemas.

cli_test.py VelmoraReport.exe SCHEMA_FOLDER WINEPREFIX WINE_PREFIX_SCRIPT
"""
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

exe, schemas, prefix, make_prefix = sys.argv[1:5]
subprocess.run([make_prefix, prefix], check=True)
env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
           CORVANE_HOME="C:\\Cörvane 山", QUVPATH="C:\\windows")
work = tempfile.mkdtemp()
failures = []


def run(*args):
    """Exit code, standard output's bytes and standard error's text. The
    streams go to files: programs Wine starts may hold a pipe open."""
    with open(os.path.join(work, "out"), "w+b") as out, open(os.path.join(work, "err"), "w+b") as err:
        code = subprocess.run(["wine", exe, *args], env=env, stdin=subprocess.DEVNULL,
                              stdout=out, stderr=err, timeout=120).returncode
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read().decode("utf-8", "replace")


def check(what, holds):
    if not holds:
        failures.append(what)


def windows(path):
    return subprocess.run(["winepath", "-w", path], env=env, capture_output=True,
                          text=True, check=True).stdout.strip()


def without_date(report):
    return [line for line in report.decode("utf-16").split("\r\n") if not line.startswith("* Date:")]


# The text report: the report file's bytes on standard output, the same as
# --output writes (the date aside: the two runs are moments apart).
code, text, _ = run()
check("text: exit 0", code == 0)
check("text: byte-order mark", text.startswith(b"\xff\xfe"))
check("text: non-ASCII value", "C:\\Cörvane 山" in text.decode("utf-16"))
saved = os.path.join(work, "saved.txt")
code, out, _ = run("--output", windows(saved))
check("--output: exit 0, nothing on standard output", code == 0 and out == b"")
check("--output: the same report", without_date(open(saved, "rb").read()) == without_date(text))

# JSON against its schema, and compared with the machine it came from.
with open(os.path.join(schemas, "velmora-report-1.schema.json")) as f:
    report_schema = json.load(f)
with open(os.path.join(schemas, "velmora-compare-1.schema.json")) as f:
    compare_schema = json.load(f)
code, out, _ = run("--json")
document = json.loads(out)
jsonschema.validate(document, report_schema)
check("--json: exit 0", code == 0)
baseline = os.path.join(work, "baseline.json")
with open(baseline, "wb") as f:
    f.write(out)
code, out, _ = run("--compare", windows(baseline))
check("--compare: no difference, exit 0", code == 0 and out.endswith(b"No differences.\r\n"))
code, out, _ = run("--compare", windows(baseline), "--json")
comparison = json.loads(out)
jsonschema.validate(comparison, compare_schema)
check("--compare --json: no difference", code == 0 and comparison["differences"] == [])
env["QUVPATH"] = "C:\\nowhere"
code, out, _ = run("--compare", windows(baseline), "--json")
check("--compare: a changed value, exit 1",
      code == 1 and [d["subject"] for d in json.loads(out)["differences"]] == ["QUVPATH", "QUVPATH"])

# Anonymized: neither name of this machine, in any letter case.
code, out, _ = run("--anonymize", "--json")
names = [document["machine"].upper(), document["user"].upper()]
check("--anonymize: no name left",
      code == 0 and not any(name.encode() in out.upper() for name in names if name))

# Bad uses: exit 2, one line on standard error, nothing on standard output,
# no file.
torn = os.path.join(work, "torn.json")
with open(torn, "w") as f:
    f.write('{"schema": ')
missing = os.path.join(work, "no folder", "r.txt")
for args, line in [(["--frobnicate"], 'unknown option "--frobnicate"'),
                   (["--compare", windows(torn)], "is not a Velmora report: at byte 12"),
                   (["--compare", windows(torn) + "x"], "cannot read"),
                   (["--output", windows(missing)], "cannot write")]:
    code, out, err = run(*args)
    check(f"{args}: exit 2, one line {line!r}, got {code} {err!r}",
          code == 2 and out == b"" and err.count("\n") == 1 and line in err)
check("no partial file", not os.path.exists(os.path.dirname(missing)))
code, out, _ = run("/?")
check("/?: the usage", code == 0 and b"--compare BASELINE.json" in out)

for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
