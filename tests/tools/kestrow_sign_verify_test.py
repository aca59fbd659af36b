#!/usr/bin/env python3
"""kestrow-sign verify end to end: round trips with signing, each verdict and hint with its
exit status in text and JSON, and every kind of bad input.

Expected signatures come from Python's hmac, hashlib, base64 and urllib modules; JSON
output is read with the json module.
Usage: kestrow_sign_verify_test.py <kestrow-sign>
"""
import base64
import hashlib
import hmac
import json
import os
import random
import subprocess
import sys
import tempfile
import urllib.parse
from datetime import datetime, timezone

EXE = sys.argv[1]
KEY = b"kestrow-secret"
T = 1796509566  # 2026-12-05T22:26:06Z
TS = "2026-12-05T22:26:06.000Z"
failures = []


def check(ok, what, proc=None):
    if not ok:
        failures.append(f"{what!r}" + (f"\n  stdout {proc.stdout!r}\n  stderr {proc.stderr!r}"
                                       if proc else ""))


def run(args, secret=KEY):
    env = {k: v for k, v in os.environb.items() if k != b"KESTROW_SECRET_KEY"}
    if secret is not None:
        env[b"KESTROW_SECRET_KEY"] = secret
    return subprocess.run([EXE] + [a if isinstance(a, bytes) else a.encode() for a in args],
                          env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)


def plain(prefix, ts, key=KEY):
    return base64.b64encode(hmac.new(key, (prefix + ts).encode(), hashlib.sha1).digest()).decode()


def encoded(prefix, ts, key=KEY):
    return urllib.parse.quote(plain(prefix, ts, key), safe="")


def url(ts, signature, operation="UrlInfo"):
    return (f"http://webinfo.example.com?Operation={operation}&ResponseGroup=Rank"
            f"&AccessKeyId=EXAMPLEKEYID1&Timestamp={ts}&Signature={signature}")


def when(t):
    return datetime.fromtimestamp(t, timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")


# Round trip: whatever kestrow-sign signs, its sample URL verifies at the same time and
# within the window, under the same prefix; another prefix does not.
rng = random.Random(12)
for n in range(25):
    key = bytes(rng.randint(1, 255) for _ in range(rng.randint(1, 60)))
    prefix = bytes(rng.randint(1, 255) for _ in range(rng.randint(0, 12)))
    t = rng.randint(0, 32535215999)
    signed = run(["--format=json", f"--time={t}", b"--prefix=" + prefix,
                  "--access-key-id", "EXAMPLEKEYID1"], key)
    sample = json.loads(signed.stdout)["sampleUrl"] if signed.returncode == 0 else ""
    now = min(max(t + rng.randint(-900, 900), 0), 32535215999)
    for extra, status in (([b"--prefix=" + prefix, f"--now={now}"], 0),
                          ([b"--prefix=" + prefix + b"x", f"--now={t}"], 6)):
        proc = run(["verify", "--format", "json", "--url", sample] + extra, key)
        check(proc.returncode == status and json.loads(proc.stdout or "{}").get("valid") ==
              (status == 0), f"round trip {n}: {key!r} {prefix!r} {t} {extra}", proc)

# args after "verify", status, verdict, skew (None: null), hint codes.
SHORT = TS.replace(".000", "")
CASES = [
    (["--url", url(TS, encoded("UrlInfo", TS)), "--now", "2026-12-05T22:26:10Z"], 0,
     "valid", -4, []),
    (["--timestamp", SHORT, "--signature", encoded("UrlInfo", SHORT), "--now", str(T - 900)], 0,
     "valid", 900, []),
    (["--url", url(TS, encoded("Merlow", TS)), "--prefix", "Merlow", "--now", str(T)], 0,
     "valid", 0, []),
    (["--url", url(TS, encoded("UrlInfo", TS)), "--prefix", "Merlow", "--now", str(T)], 6,
     "signature-mismatch", 0, ["other-prefix"]),
    (["--url", url(TS, encoded("Quillon", TS), "Merlow"), "--now", str(T)], 6,
     "signature-mismatch", 0, []),
    (["--url", url(TS, encoded("UrlInfo", TS)) + "&Operation=Merlow", "--prefix", "Merlow",
      "--now", str(T)], 6, "signature-mismatch", 0, []),  # an Operation given twice is no hint
    (["--url", url(SHORT, encoded("UrlInfo", TS)), "--now", str(T)], 6,
     "signature-mismatch", 0, ["timestamp-form"]),
    (["--timestamp", TS, "--signature", encoded("UrlInfo", SHORT), "--now", str(T)], 6,
     "signature-mismatch", 0, ["timestamp-form"]),
    (["--timestamp", TS, "--signature", plain("UrlInfo", TS), "--now", str(T)], 6,
     "malformed-signature", 0, ["not-url-encoded"]),
    (["--url", url(TS, plain("UrlInfo", TS)), "--now", str(T)], 6,
     "malformed-signature", 0, ["not-url-encoded"]),
    (["--timestamp", TS, "--signature", "", "--now", str(T)], 6, "malformed-signature", 0, []),
    (["--timestamp", "2026-12-05T22:26:06.0Z", "--signature", "x", "--now", str(T)], 7,
     "malformed-timestamp", None, []),
    (["--url", url("2026-12-05T22%3A26%3A06.000Z", encoded("UrlInfo", TS)), "--now",
      str(T + 901)], 7, "timestamp-too-old", -901, []),
    (["--url", url(TS, encoded("UrlInfo", TS)), "--now", str(T - 901)], 7,
     "timestamp-in-future", 901, []),
    (["--url", url(TS, encoded("UrlInfo", TS)), "--now", str(T - 2 * 3600 + 5)], 7,
     "timestamp-in-future", 7195, ["hours-off"]),
    (["--url", url(TS, encoded("UrlInfo", TS)), "--now", str(T + 5 * 3600), "--max-skew", "10"],
     7, "timestamp-too-old", -18000, ["hours-off"]),
    (["--url", url(TS, encoded("UrlInfo", TS)), "--now", str(T + 5000), "--max-skew=5000"], 0,
     "valid", -5000, []),
]
for args, status, verdict, skew, hints in CASES:
    ts = dict(urllib.parse.parse_qsl(args[1].split("?")[1]))["Timestamp"] if args[0] == "--url" \
        else args[1]
    prefix = args[args.index("--prefix") + 1] if "--prefix" in args else "UrlInfo"
    proc = run(["verify", "--format=json"] + args)
    try:
        names = [name for name, _ in json.loads(proc.stdout, object_pairs_hook=list)]
        report = json.loads(proc.stdout)
    except ValueError:
        names, report = [], {}
    check(proc.returncode == status and proc.stderr == b"" and proc.stdout.count(b"\n") == 1
          and names == ["verdict", "valid", "stringToSign",
                                              "expectedSignature", "receivedSignature",
                                              "skewSeconds", "maxSkewSeconds", "hints"]
          and report["verdict"] == verdict and report["valid"] is (status == 0)
          and report["stringToSign"] == prefix + ts
          and report["expectedSignature"] == encoded(prefix, ts)
          and report["skewSeconds"] == skew
          and [h["code"] for h in report["hints"]] == hints, f"json {args}", proc)
    text = run(["verify"] + args)
    lines = text.stdout.decode().splitlines()
    check(text.returncode == status and text.stderr == b"" and len(lines) == 5 + len(hints)
          and lines[0].replace(" ", "-").replace("-the-", "-") == "Verdict:-" + verdict
          and lines[1] == "String to sign: " + prefix + ts
          and lines[2] == "Expected signature: " + encoded(prefix, ts)
          and lines[4].startswith(f"Skew: {skew} s" if skew is not None else "Skew: unknown")
          and [line[6:] for line in lines[5:]] == [h["text"] for h in report.get("hints", [])]
          and all(line.startswith("Hint: ") for line in lines[5:]), f"text {args}", text)

with tempfile.TemporaryDirectory() as tmp:
    nul = os.path.join(tmp, "nul")
    with open(nul, "wb") as f:
        f.write(b"kestrow\0secret")
    GOOD = ["--url", url(TS, encoded("UrlInfo", TS))]
    ERRORS = [  # args after "verify", status, part of the message[, secret]
        (["--url", "http://webinfo.example.com/UrlInfo"], 2, "no query"),
        (["--url", "http://x?Signature=abc"], 2, "no Timestamp"),
        (["--url", f"http://x?Timestamp={TS}#&Signature=abc"], 2, "no Signature"),
        (["--url", f"http://x?Timestamp={TS}&Signature=a&Timestamp={TS}"], 2,
         "more than one Timestamp"),
        (["--url", f"http://x?Signature=a&Timestamp={TS}&Signature=a"], 2,
         "more than one Signature"),
        (["--url", f"http://x?Timestamp={TS}&Signature=abc%3"], 2, "broken percent escape"),
        (["--url", url(TS, "abc").replace("EXAMPLEKEYID1", "%key%")], 2, "broken percent escape"),
        (["--url", url(TS, "abc") + "&Url=100%"], 2, "broken percent escape"),
        (["--url", url(TS, "abc"), "--timestamp", TS], 2, "give no --timestamp"),
        (["--timestamp", TS], 2, "give --url, or --timestamp and --signature"),
        ([], 2, "give --url"),
        (GOOD + ["--max-skew", "-1"], 2, "--max-skew takes"),
        (GOOD + ["--max-skew", "32535216000"], 2, "--max-skew takes"),
        (GOOD + ["--now", "yesterday"], 2, "expected YYYY-MM-DDTHH:MM:SSZ"),
        (GOOD + ["--format", "xml"], 2, "'text' or 'json'"),
        (GOOD + ["--time", "0"], 2, "unknown option"),
        (GOOD + ["--version"], 2, "unknown option"),
        (["--timestamp", TS + "\n", "--signature", "x"], 2, "line break"),
        (GOOD, 3, "no secret key", None),
        (GOOD + ["--secret-key-file", os.path.join(tmp, "missing")], 3, "cannot open"),
        (GOOD + ["--secret-key-file", nul], 5, "NUL byte"),
    ]
    for args, status, part, *secret in ERRORS:
        proc = run(["verify"] + args, *secret)
        check(proc.returncode == status and proc.stdout == b""
              and proc.stderr.startswith(b"kestrow-sign: ") and proc.stderr.count(b"\n") == 1
              and part.encode() in proc.stderr, f"{args} should fail with {status}", proc)

proc = run(["verify", "--help"])
check(proc.returncode == 0 and proc.stdout.startswith(b"Usage: kestrow-sign verify")
      and all(o in proc.stdout for o in (b"--url", b"--timestamp", b"--signature", b"--prefix",
                                         b"--now", b"--max-skew", b"--format",
                                         b"--secret-key-file")), "verify --help", proc)
# Without --now the clock is used: a signature made now is valid.
signed = json.loads(run(["--format=json", "--access-key-id=EXAMPLEKEYID1"]).stdout)
check(run(["verify", "--url", signed["sampleUrl"]]).returncode == 0, "verify at the current time")

for failure in failures:
    print("FAILED:", failure)
print(f"kestrow-sign verify end to end: {len(failures)} failed")
sys.exit(1 if failures else 0)
