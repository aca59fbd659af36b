#!/usr/bin/env python3
"""kestrow-sign end to end: output in both formats, the secret's sources, every error path.

Expected signatures are computed here, independently of the program, with Python's hmac,
hashlib, base64 and urllib modules; the first known case is also pinned by its value
(cross-checked with: printf 'UrlInfo2026-12-05T22:26:06.000Z' | openssl dgst -sha1 -binary
-hmac kestrow-secret | base64). JSON output is checked by parsing it with the json module.
Usage: kestrow_sign_cli_test.py <kestrow-sign> <version>
"""
import base64
import codecs
import hashlib
import hmac
import json
import os
import random
import subprocess
import sys
import tempfile
import time
import urllib.parse
from datetime import datetime, timezone

EXE, VERSION = sys.argv[1], sys.argv[2]
URL = (b"http://webinfo.example.com?Operation=UrlInfo&ResponseGroup=Rank&AccessKeyId=%key%"
       b"&Url=www.example.com&Timestamp=%timestamp%&Signature=%signature%")
failures = []


def check(ok, what, proc=None):
    if not ok:
        failures.append(f"{what!r}" + (f"\n  stdout {proc.stdout!r}\n  stderr {proc.stderr!r}"
                                       if proc else ""))


def run(args, secret=None, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE):
    env = {k: v for k, v in os.environb.items() if k != b"KESTROW_SECRET_KEY"}
    if secret is not None:
        env[b"KESTROW_SECRET_KEY"] = secret
    return subprocess.run([EXE] + [a if isinstance(a, bytes) else a.encode() for a in args],
                          env=env, input=stdin if isinstance(stdin, bytes) else None,
                          stdin=None if isinstance(stdin, bytes) else stdin, stdout=stdout,
                          stderr=subprocess.PIPE, timeout=60)


def expected(key, prefix, t, key_id=b""):
    """(timestamp, plain signature, URL-encoded signature, sample URL) as bytes."""
    ts = datetime.fromtimestamp(t, timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.000Z").encode()
    plain = base64.b64encode(hmac.new(key, prefix + ts, hashlib.sha1).digest())
    encoded = urllib.parse.quote(plain, safe="").encode()
    url = URL.replace(b"%timestamp%", ts).replace(b"%signature%", encoded)
    return ts, plain, encoded, url.replace(b"%key%", key_id) if key_id else url


# What a JSON reader gets back: UTF-8 where well-formed, else each byte read as Latin-1.
codecs.register_error("latin1", lambda e: (e.object[e.start:e.start + 1].decode("latin-1"),
                                           e.start + 1))


def check_json(proc, ts, signature, url, complete, what):
    try:
        pairs = json.loads(proc.stdout.decode("utf-8"), object_pairs_hook=list)
    except ValueError as error:
        return check(False, f"{what}: not JSON ({error})", proc)
    check(proc.returncode == 0 and proc.stdout.count(b"\n") == 1 and proc.stdout.endswith(b"\n")
          and [name for name, _ in pairs] == ["timestamp", "signature", "sampleUrl", "complete"]
          and dict(pairs) == {"timestamp": ts.decode(), "signature": signature.decode(),
                              "sampleUrl": url.decode("utf-8", "latin1"), "complete": complete}
          and pairs[-1][1] is complete, what, proc)


# Key, prefix (None: the default), --time value and its time value.
KNOWN = [(b"kestrow-secret", None, "2026-12-05T22:26:06Z", 1796509566),
         (b"Jefe", b"UrlInfo", "0", 0),
         (b"k\xc3\xa9y \x01\xff", b"", "3000-12-31T23:59:59Z", 32535215999),
         (b"kestrow-secret", b"--Merlow=Info", "2000-02-29T12:34:56.000Z", 951827696),
         (b"x" * 100, b"UrlInfo", "0001796509566", 1796509566)]
check(expected(b"kestrow-secret", b"UrlInfo", 1796509566)[2] ==
      b"ClcVShun84K%2BqTqvE25mfgEO5bI%3D", "the oracle's pinned value")
for key, prefix, when, t in KNOWN:
    args = ["--time", when] + ([b"--prefix=" + prefix] if prefix is not None else [])
    ts, plain, encoded, url = expected(key, b"UrlInfo" if prefix is None else prefix, t)
    proc = run(args + (["--format", "text"] if t == 0 else []), key)
    check(proc.returncode == 0 and proc.stderr == b"" and proc.stdout == b"Timestamp: " + ts +
          b"\nSignature: " + encoded + b"\nSample URL: " + url + b"\nComplete: no\n", when, proc)
    url = url.replace(b"%key%", b"KESTROWKEYID")
    for extra, signature in ((["--format", "json"], encoded),
                             (["--format=json", "--no-url-encode"], plain)):
        proc = run(args + extra + ["--access-key-id", "KESTROWKEYID"], key)
        check_json(proc, ts, signature, url, True, f"{when} {extra}")

# Any Access Key ID reaches the URL unchanged and the JSON stays valid.
rng = random.Random(2026)
PIECES = [b'"', b"\\", b"\n", b"\r\t", b"\x7f", b"\xc3\xa9", b"\xe2\x82\xac", b"\xf0\x9f\x98\x80",
          b"%key%", b"%timestamp%"]
key_ids = [b"  ", b"a&b=c d?e#f", b"\xe9t\xe9\xff", b"\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xc3"]
key_ids += [b"".join(rng.choice(PIECES) if rng.random() < 0.4 else bytes([rng.randint(1, 255)])
                     for _ in range(rng.randint(0, 16))) for _ in range(100)]
for key_id in key_ids:
    ts, _, encoded, url = expected(b"kestrow-secret", b"Pre fix", 1796509566, key_id)
    proc = run(["--format=json", "--time=1796509566", "--prefix", "Pre fix",
                b"--access-key-id=" + key_id], b"kestrow-secret")
    check_json(proc, ts, encoded, url, key_id != b"", f"access key id {key_id!r}")

with tempfile.TemporaryDirectory() as tmp:
    def write(name, content):
        path = os.path.join(tmp, name)
        with open(path, "wb") as f:
            f.write(content)
        return path

    # A file or standard input loses exactly one trailing line break; the file wins.
    for n, (tail, kept) in enumerate([(b"", b""), (b"\n", b""), (b"\r\n", b""), (b"\n\n", b"\n"),
                                      (b"\n\r\n", b"\n"), (b"\r", b"\r"), (b"\r\r\n", b"\r")]):
        content = b"kestrow-secret" + tail
        line = b"Signature: " + expected(b"kestrow-secret" + kept, b"UrlInfo", 0)[2] + b"\n"
        for proc in (run(["--time", "0", "--secret-key-file", write(f"s{n}", content)], b"Jefe"),
                     run(["--time", "0", "--secret-key-file=-"], stdin=content)):
            check(proc.returncode == 0 and line in proc.stdout, f"secret {content!r}", proc)

    before = datetime.now(timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.000Z")
    proc = run(["--format=json"], b"kestrow-secret")
    after = datetime.now(timezone.utc).strftime("%Y-%m-%dT%H:%M:%S.000Z")
    ts = json.loads(proc.stdout)["timestamp"] if proc.returncode == 0 else ""
    check(before <= ts <= after and len(ts) == 24, "signs at the current time", proc)

    proc = run(["--help"])
    check(proc.returncode == 0 and proc.stderr == b"" and proc.stdout.startswith(
        b"Usage: kestrow-sign") and all(o.encode() in proc.stdout for o in (
            "--prefix", "--access-key-id", "--time", "--no-url-encode", "--format",
            "--secret-key-file", "--help", "--version", "KESTROW_SECRET_KEY")), "--help", proc)
    proc = run(["--version"])
    check((proc.returncode, proc.stdout, proc.stderr) ==
          (0, f"kestrow-sign {VERSION}\n".encode(), b""), "--version", proc)
    proc = run(["--time", "0", "--secret-key-file", write("longest", b"s" * 65536 + b"\r\n")])
    check(proc.returncode == 0, "the longest secret", proc)
    with open("/dev/full", "wb") as full:
        proc = run(["--time", "0"], b"Jefe", stdout=full)
        check(proc.returncode == 1 and b"cannot write" in proc.stderr, "a failed write", proc)

    S, NO = b"kestrow-secret", subprocess.DEVNULL
    ERRORS = [  # args, status, part of the message[, secret, standard input]
        (["--bogus"], 2, "unknown option"),
        (["--PREFIX", "x"], 2, "unknown option"),
        (["--prefix-x=1"], 2, "unknown option"),
        (["--secret-key", "s3cret"], 2, "unknown option"),  # never on the command line
        (["-h"], 2, "unexpected argument"),
        (["--"], 2, "unexpected argument"),
        (["--prefix", "x", "UrlInfo"], 2, "unexpected argument"),
        (["--prefix"], 2, "needs a value"),
        (["--secret-key-file"], 2, "needs a value"),
        (["--access-key-id", "--time", "0"], 2, "needs a value"),
        (["--time", "0", "--time", "1"], 2, "more than once"),
        (["--no-url-encode", "--no-url-encode"], 2, "more than once"),
        (["--format", "xml"], 2, "'text' or 'json'"),
        (["--format=JSON"], 2, "'text' or 'json'"),
        (["--no-url-encode=no"], 2, "takes no value"),
        (["--help=1"], 2, "takes no value"),
        (["--secret-key-file="], 2, "needs a file name"),
        (["--access-key-id", "AK\nID"], 2, "line break"),
        (["--time", "yesterday"], 4, "expected YYYY-MM-DDTHH:MM:SSZ"),
        (["--time", "2026-02-30T00:00:00Z"], 4, "no valid date"),
        (["--time", "3001-01-01T00:00:00Z"], 4, "outside"),
        (["--time", "1969-12-31T23:59:59Z"], 4, "outside"),
        (["--time", "32535216000"], 4, "outside"),
        (["--time", "-1"], 4, "outside"),
        (["--time", "2026-12-05T22:26:06.5Z"], 4, "fraction"),
        (["--time", "nonsense"], 4, "expected", None, NO),  # the time is checked first
        ([], 3, "no secret key", None, NO),
        ([], 3, "empty", b"", NO),
        (["--secret-key-file", os.path.join(tmp, "missing")], 3, "cannot open"),
        (["--secret-key-file", tmp], 3, "cannot read"),
        (["--secret-key-file", write("empty", b"")], 3, "empty"),
        (["--secret-key-file", write("break", b"\r\n")], 3, "empty"),
        (["--secret-key-file", "-"], 3, "empty", S, b""),
        (["--secret-key-file", "-"], 3, "empty", S, NO),
        (["--secret-key-file", write("nul", b"kestrow\0secret\n")], 5, "NUL byte at offset 7"),
        (["--secret-key-file", "-"], 5, "NUL byte at offset 0", None, b"\0"),
        (["--secret-key-file", write("long", b"s" * 65537 + b"\n")], 5, "longer than 65536"),
    ]
    for args, status, part, *given in ERRORS:
        proc = run(args, *(given or [S]))
        check(proc.returncode == status and proc.stdout == b""
              and proc.stderr.startswith(b"kestrow-sign: ") and proc.stderr.count(b"\n") == 1
              and proc.stderr.endswith(b"\n") and part.encode() in proc.stderr,
              f"{args} should fail with {status}", proc)

for failure in failures:
    print("FAILED:", failure)
print(f"kestrow-sign end to end: {len(failures)} failed")
sys.exit(1 if failures else 0)
