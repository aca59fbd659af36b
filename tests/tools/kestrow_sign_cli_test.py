#!/usr/bin/env python3
# kestrow-sign end to end, signing and verifying: each output format, each source of the
# secret, each verdict and hint, every exit status and a bad input of each kind. The finer
# cases are the unit tests'.
#
# Expected signatures are computed here, independently of the program, with Python's hmac,
# hashlib, base64 and urllib modules; the first one is also pinned by its value (cross-checked
# with: printf 'UrlInfo2026-12-05T22:26:06.000Z' | openssl dgst -sha1 -binary -hmac
# kestrow-secret | base64). JSON output is read with the json module.
# Usage: kestrow_sign_cli_test.py <kestrow-sign> <version>
import base64
import hashlib
import hmac
import json
import os
import subprocess
import sys
import tempfile
import urllib.parse

EXE, VERSION = sys.argv[1], sys.argv[2]
KEY = b"kestrow-secret"
T, TS = 1796509566, "2026-12-05T22:26:06.000Z"
failures = []


def check(ok, what, proc=None):
    if not ok:
        failures.append(f"{what!r}" + (f"\n  stdout {proc.stdout!r}\n  stderr {proc.stderr!r}"
                                       if proc else ""))


def run(args, secret=KEY, stdin=b"", stdout=subprocess.PIPE):
    env = {k: v for k, v in os.environb.items() if k != b"KESTROW_SECRET_KEY"}
    if secret is not None:
        env[b"KESTROW_SECRET_KEY"] = secret
    return subprocess.run([EXE] + [a if isinstance(a, bytes) else a.encode() for a in args],
                          env=env, input=stdin, stdout=stdout, stderr=subprocess.PIPE,
                          timeout=60)


def signature(prefix, ts, key=KEY, quote=True):
    prefix = prefix if isinstance(prefix, bytes) else prefix.encode()
    plain = base64.b64encode(hmac.new(key, prefix + ts.encode(), hashlib.sha1).digest())
    return urllib.parse.quote(plain, safe="") if quote else plain.decode()


def url(ts, sig, key_id="KESTROWKEYID"):
    return (f"http://webinfo.example.com?Operation=UrlInfo&ResponseGroup=Rank"
            f"&AccessKeyId={key_id}&Url=www.example.com&Timestamp={ts}&Signature={sig}")


def read_json(proc, names):
    """The output as a dict when it is one line of JSON with exactly these names in order."""
    try:
        pairs = json.loads(proc.stdout, object_pairs_hook=list)
    except ValueError:
        return {}
    ok = proc.stdout.count(b"\n") == 1 and proc.stdout.endswith(b"\n") and proc.stderr == b""
    return json.loads(proc.stdout) if ok and [name for name, _ in pairs] == names else {}


SIGNED = ["timestamp", "signature", "sampleUrl", "complete"]
sig = signature("UrlInfo", TS)
check(sig == "ClcVShun84K%2BqTqvE25mfgEO5bI%3D", "the oracle's pinned value")
proc = run(["--time", "2026-12-05T22:26:06Z", "--no-url-encode", "--"])
check(proc.returncode == 0 and proc.stderr == b"" and proc.stdout.decode() ==
      f"Timestamp: {TS}\nSignature: {signature('UrlInfo', TS, quote=False)}\n"
      f"Sample URL: {url(TS, sig, '%key%')}\nComplete: no\n", "text", proc)
# Text beyond ASCII is signed over its UTF-8 bytes, as the dialog and Windows sign it.
proc = run(["--time", "2026-12-05T22:26:06Z", "--prefix", "Étatα", "--access-key-id", "ÄKID"],
           "測試密鑰".encode())
check(f"\nSignature: {signature('Étatα', TS, '測試密鑰'.encode())}\n".encode() in proc.stdout
      and b"hsDS%2BB48oZzPTnqfKrU6P%2FGeyOo%3D" in proc.stdout, "non-ASCII text", proc)
# Any Access Key ID goes into the URL as a query value, every byte but letters, digits and
# "-._~" as %XX.
ODD_ID = b'a"\\\n\xc3\xa9\xff%timestamp%-._~'
ODD_KEY, EPOCH = b"k\xc3\xa9y \x01\xff", "1970-01-01T00:00:00.000Z"
proc = run(["--format", "json", b"--access-key-id=" + ODD_ID, "--prefix=", "--time", "0"], ODD_KEY)
report = read_json(proc, SIGNED)
check(report == {"timestamp": EPOCH, "signature": signature("", EPOCH, ODD_KEY),
                 "sampleUrl": url(EPOCH, signature("", EPOCH, ODD_KEY),
                                  urllib.parse.quote(ODD_ID, safe="")),
                 "complete": True} and type(report["complete"]) is bool, "json", proc)

# verify: args, status, verdict, skew (None: null), hint codes; in JSON and in text.
SHORT = TS.replace(".000", "")
CASES = [
    (["--url", url("2026-12-05T22%3A26%3A06.000Z", sig), "--now", "2026-12-05T22:26:10Z"], 0,
     "valid", -4, []),
    (["--url", url(TS, sig), "--prefix", "Merlow", "--now", str(T)], 6, "signature-mismatch", 0,
     ["other-prefix"]),
    (["--url", url(TS, sig) + "&Operation=Merlow", "--prefix", "Merlow", "--now", str(T)], 6,
     "signature-mismatch", 0, []),  # an Operation given twice is no hint
    (["--url", url(SHORT, sig), "--now", str(T)], 6, "signature-mismatch", 0,
     ["timestamp-form"]),
    (["--url", url(TS, signature("UrlInfo", TS, quote=False)), "--now", str(T)], 6,
     "malformed-signature", 0, ["not-url-encoded"]),
    (["--timestamp", "2026-12-05T22:26:06.0Z", "--signature", "x", "--now", str(T)], 7,
     "malformed-timestamp", None, []),
    (["--url", url(TS, sig), "--now", str(T + 901), "--max-skew=10"], 7, "timestamp-too-old",
     -901, []),
    (["--url", url(TS, sig), "--now", str(T - 2 * 3600 + 5)], 7, "timestamp-in-future", 7195,
     ["hours-off"]),
]
VERIFIED = ["verdict", "valid", "stringToSign", "expectedSignature", "receivedSignature",
            "skewSeconds", "maxSkewSeconds", "hints"]
for args, status, verdict, skew, hints in CASES:
    ts = urllib.parse.unquote(args[1].split("Timestamp=")[-1].split("&")[0])
    received = args[1].split("Signature=")[-1].split("&")[0] if args[0] == "--url" else args[3]
    prefix = args[args.index("--prefix") + 1] if "--prefix" in args else "UrlInfo"
    max_skew = int(next((a[11:] for a in args if a.startswith("--max-skew=")), 900))
    proc = run(["verify", "--format=json"] + args)
    report = read_json(proc, VERIFIED)
    check(proc.returncode == status and report.get("verdict") == verdict
          and report["valid"] is (status == 0) and report["stringToSign"] == prefix + ts
          and report["expectedSignature"] == signature(prefix, ts)
          and report["receivedSignature"] == received and report["skewSeconds"] == skew
          and report["maxSkewSeconds"] == max_skew
          and [h["code"] for h in report["hints"]] == hints, f"json {args}", proc)
    text = run(["verify"] + args)
    lines = text.stdout.decode().splitlines()
    check(text.returncode == status and text.stderr == b"" and len(lines) == 5 + len(hints)
          and lines[0].replace(" ", "-").replace("-the-", "-") == "Verdict:-" + verdict
          and lines[1:4] == ["String to sign: " + prefix + ts,
                             "Expected signature: " + signature(prefix, ts),
                             "Received signature: " + received]
          and lines[4].startswith(f"Skew: {skew} s" if skew is not None else "Skew: unknown")
          and lines[5:] == ["Hint: " + h["text"] for h in report.get("hints", [])],
          f"text {args}", text)
# Text output shows control characters and bytes that are not UTF-8 escaped.
proc = run(["verify", "--prefix", b"\x1b[2J\xc2\x9b\xff\xc3\xa9", "--timestamp", TS, "--signature",
            "x", "--now", str(T)])
check(proc.returncode == 6 and f"\nString to sign: \\x1b[2J\\xc2\\x9b\\xff\u00e9{TS}\n".encode()
      in proc.stdout, "escapes", proc)
# Without a time given the clock is used, to sign and to verify: the tool's own URL checks, its
# %key% placeholder with a note.
proc = run(["verify", "--format=json", "--url", read_json(run(["--format=json"]), SIGNED).get(
    "sampleUrl", "")])
hints = [h["code"] for h in read_json(proc, VERIFIED).get("hints", [{}])]
check(proc.returncode == 0 and hints == ["placeholder"], "signed now, with the placeholder", proc)

with tempfile.TemporaryDirectory() as tmp:
    def write(name, content):
        path = os.path.join(tmp, name)
        with open(path, "wb") as f:
            f.write(content)
        return path

    # A file or standard input loses exactly one line break and wins over the environment.
    for n, (tail, kept) in enumerate([(b"", b""), (b"\n", b""), (b"\r\n", b""), (b"\n\n", b"\n"),
                                      (b"\r", b"\r"), (b"\r\r\n", b"\r")]):
        line = f"Signature: {signature('UrlInfo', '1970-01-01T00:00:00.000Z', KEY + kept)}\n"
        for args, stdin in ((["--secret-key-file", write(f"s{n}", KEY + tail)], b""),
                            (["--secret-key-file=-"], KEY + tail)):
            proc = run(["--time", "0"] + args, b"other", stdin)
            check(proc.returncode == 0 and line.encode() in proc.stdout, f"secret {tail}", proc)
    proc = run(["--time", "0", "--secret-key-file", write("longest", b"s" * 65536 + b"\r\n")])
    check(proc.returncode == 0, "the longest secret", proc)
    # Help: the usage line in CLI11's layout and the exit statuses; the version alone.
    for args, usage in ((["-h"], b"kestrow-sign [OPTIONS]"),
                        (["verify", "--help"], b"kestrow-sign verify"),
                        (["--version"], None), (["verify", "--version"], None)):
        proc = run(args)
        check(proc.returncode == 0 and proc.stderr == b"" and (
            proc.stdout == f"kestrow-sign {VERSION}\n".encode() if usage is None else
            b"\nUsage: " + usage in proc.stdout and b"\nExit status: " in proc.stdout), args, proc)
    with open("/dev/full", "wb") as full:
        proc = run(["--time", "0"], stdout=full)
        check(proc.returncode == 1 and b"cannot write" in proc.stderr, "a failed write", proc)

    GOOD = ["verify", "--url", url(TS, sig)]
    ERRORS = [  # args, status, part of the message[, secret, standard input]
        # A secret never on the command line. Misspellings: letters added, left out or swapped.
        (["--secret-key", "s3cret"], 2, "unknown option '--secret-key'; did you mean '--secret-key-"),
        (["--fromat=json"], 2, "unknown option '--fromat'; did you mean '--format'?"),
        (["verify", "--nwo", "0", "--urlxx=u"], 2, "'--nwo'; did you mean '--now'?"),
        (["verify", "--urlxx=u"], 2, "'--urlxx'; did you mean '--url'?"),
        (["-x"], 2, "unknown option '-x' (try --help)"),
        (["--prefix", "x", "verfy"], 2, "unexpected argument 'verfy'; did you mean 'verify'?"),
        (["--", "--time", "0"], 2, "unexpected argument '--time'"),
        (["--prefix", "x", "verify", "--url", "u"], 2, "verify takes its options after it"),
        (["--access-key-id", "--time", "0"], 2, "needs a value"),
        (["--time", "0", "--time", "1"], 2, "more than once"),
        (["--format", "xml"], 2, "xml not in {text,json}"),
        (["--help=1"], 2, "takes no value"),
        (["--secret-key-file="], 2, "needs a file name"),
        (["--access-key-id", "KESTROW\nKEYID"], 2, "line break"),
        (["--time", "yesterday"], 4, "expected YYYY-MM-DDTHH:MM:SSZ", None),  # checked first
        ([], 3, "no secret key", None),
        ([], 3, "empty", b""),
        (["--secret-key-file", os.path.join(tmp, "missing")], 3, "cannot open"),
        (["--secret-key-file", tmp], 3, "cannot read"),
        (["--secret-key-file", "-"], 3, "empty", KEY, b"\r\n"),
        (["--secret-key-file", "-"], 5, "NUL byte at offset 7", None, b"kestrow\0secret"),
        (["--secret-key-file", write("long", b"s" * 65537 + b"\n")], 5, "longer than 65536"),
        (["verify", "--url", "http://x/UrlInfo"], 2, "no query"),
        (["verify", "--url", "http://x?Signature=a"], 2, "no Timestamp"),
        (["verify", "--url", f"http://x?Timestamp={TS}#&Signature=a"], 2, "no Signature"),
        (["verify", "--url", f"http://x?Timestamp={TS}&Signature=a&Timestamp=t"], 2,
         "more than one Timestamp"),
        (["verify", "--url", f"http://x?Timestamp={TS}&Signature=a%3"], 2, "escape in 'Signature"),
        (["verify", "--url", url(TS, sig) + "&100%"], 2, "escape in '100%'"),
        (GOOD + ["--timestamp", TS], 2, "give no --timestamp"),
        (["verify", "--timestamp", TS], 2, "give --url, or --timestamp and --signature"),
        (GOOD + ["--max-skew", "-1"], 2, "--max-skew: takes a whole number"),
        (GOOD + ["--now", "yesterday"], 2, "expected YYYY-MM-DDTHH:MM:SSZ"),
        (["verify", "--timestamp", TS + "\n", "--signature", "x"], 2, "line break"),
        (GOOD, 3, "no secret key", None),
        (GOOD + ["--format=json", "--prefix", b"\xc3\xa9\xff"], 1,
         "stringToSign holds a byte that is not UTF-8 (0xff at offset 2)"),
        (["verify", "--format=json", "--url", f"http://x?Operation=%FF&Timestamp={TS}&Signature="
          + signature(b"\xff", TS)], 1, "hints[0].text holds a byte that is not UTF-8 (0xff at"),
    ]
    for args, status, part, *given in ERRORS:
        proc = run(args, *given)
        check(proc.returncode == status and proc.stdout == b""
              and proc.stderr.startswith(b"kestrow-sign: ") and proc.stderr.count(b"\n") == 1
              and proc.stderr.endswith(b"\n") and part.encode() in proc.stderr,
              f"{args} should fail with {status}", proc)

for failure in failures:
    print("FAILED:", failure)
print(f"kestrow-sign end to end: {len(failures)} failed")
sys.exit(1 if failures else 0)
