#!/usr/bin/env python3
"""Turns two Google Benchmark JSON runs of kestrow_bench into one table.

The first run has OpenSSL as it is; the second has it restricted to its integer code
(OPENSSL_ia32cap masking SSSE3, AVX and SHA). Each figure is the median CPU time of the
repetitions; a ratio above 1 means ours is faster.
"""
import argparse
import json
import sys

# (label, our benchmark, OpenSSL's benchmark or None, bytes per operation or None). Our rows
# run on the SHA-1 path the CPU offers; those marked "integer path" are held to the integer one.
ROWS = [
    ("SHA-1, 64 B", "Sha1_Kestrow/64", "Sha1_OpenSSL/64", 64),
    ("SHA-1, 64 B, integer path", "Sha1_KestrowInteger/64", "Sha1_OpenSSL/64", 64),
    ("SHA-1, 1 KiB", "Sha1_Kestrow/1024", "Sha1_OpenSSL/1024", 1024),
    ("SHA-1, 1 KiB, integer path", "Sha1_KestrowInteger/1024", "Sha1_OpenSSL/1024", 1024),
    ("SHA-1, 1 MiB", "Sha1_Kestrow/1048576", "Sha1_OpenSSL/1048576", 1 << 20),
    ("SHA-1, 1 MiB, integer path", "Sha1_KestrowInteger/1048576", "Sha1_OpenSSL/1048576",
     1 << 20),
    ("HMAC-SHA1, 31 B, vs one-shot HMAC", "HmacSha1_Kestrow", "HmacSha1_OpenSSLOneShot", None),
    ("HMAC-SHA1, 31 B, integer path, vs one-shot HMAC", "HmacSha1_KestrowInteger",
     "HmacSha1_OpenSSLOneShot", None),
    ("HMAC-SHA1, 31 B, vs reused EVP_MAC context", "HmacSha1_Kestrow",
     "HmacSha1_OpenSSLReusedContext", None),
    ("HMAC-SHA1, 31 B, integer path, vs reused EVP_MAC context", "HmacSha1_KestrowInteger",
     "HmacSha1_OpenSSLReusedContext", None),
    ("HMAC-SHA1 keying (object built and destroyed)", "HmacSha1Keying_Kestrow", None, None),
    ("Signature (Sign, interval 0)", "Sign_Kestrow", "Sign_OpenSSLOneShot", None),
    ("Signature, integer path", "Sign_KestrowInteger", "Sign_OpenSSLOneShot", None),
    ("Signature, cached (Sign, interval 300)", "SignCached_Kestrow", None, None),
    ("Key change (SetSecretKey, old key wiped)", "SetSecretKey_Kestrow", None, None),
    ("Engine keyed and destroyed (all wiped)", "EngineLifetime_Kestrow", None, None),
    ("ComposeSampleRequest", "ComposeSampleRequest_Kestrow", None, None),
    ("Base64Encode, 20 B, vs EVP_EncodeBlock", "Base64Encode_Kestrow", "Base64Encode_OpenSSL", None),
    ("UrlEncode of a signature", "UrlEncode_Kestrow", None, None),
    ("FormatUtcTimestamp", "FormatUtcTimestamp_Kestrow", None, None),
    ("Verification (Verify), vs HMAC + EVP_DecodeBlock + CRYPTO_memcmp", "Verify_Kestrow", "Verify_OpenSSL", None),
    ("Verification, integer path", "Verify_KestrowInteger", "Verify_OpenSSL", None),
]

# (label, row label, OpenSSL variant, least ratio). Our SHA-extension rows are held against
# OpenSSL as it is, our integer-path rows against OpenSSL's integer code.
TARGETS = [
    ("SHA-1 at 1 MiB >= 0.95x OpenSSL as it is", "SHA-1, 1 MiB", "default", 0.95),
    ("SHA-1 at 1 MiB >= 2x OpenSSL integer-only", "SHA-1, 1 MiB", "integer", 2.0),
    ("HMAC-SHA1 of 31 B >= 1.2x OpenSSL's reused context",
     "HMAC-SHA1, 31 B, vs reused EVP_MAC context", "default", 1.2),
    ("HMAC-SHA1 of 31 B, integer path, >= 1.2x OpenSSL's integer-only reused context",
     "HMAC-SHA1, 31 B, integer path, vs reused EVP_MAC context", "integer", 1.2),
    ("Complete signature >= 5x the OpenSSL one-shot equivalent", "Signature (Sign, interval 0)",
     "default", 5.0),
    ("Complete signature, integer path, >= 5x the integer-only OpenSSL equivalent",
     "Signature, integer path", "integer", 5.0),
    ("Verification >= 5x the OpenSSL equivalent",
     "Verification (Verify), vs HMAC + EVP_DecodeBlock + CRYPTO_memcmp", "default", 5.0),
    ("Verification, integer path, >= 5x the integer-only OpenSSL equivalent",
     "Verification, integer path", "integer", 5.0),
]

# (what, our benchmarks by name prefix) that must allocate nothing.
NO_ALLOCATIONS = [
    ("CSHA1", "Sha1_Kestrow"),
    ("ComputeMac with a reused result", "HmacSha1_Kestrow"),
    ("a cached Sign", "SignCached_Kestrow"),
]


def load_medians(path):
    with open(path) as f:
        doc = json.load(f)
    medians = {}
    singles = {}
    errors = []
    for b in doc["benchmarks"]:
        if b.get("error_occurred"):
            errors.append(f"{b['name']}: {b.get('error_message', 'error')}")
            continue
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b
        elif b.get("run_type") == "iteration":
            singles[b["run_name"]] = b
    # A single repetition has no aggregates: its one figure stands for itself.
    for name, b in singles.items():
        medians.setdefault(name, b)
    return doc.get("context", {}), medians, errors


def ns(bench):
    unit = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[bench.get("time_unit", "ns")]
    return bench["cpu_time"] * unit


def figure(bench, cb):
    if bench is None:
        return "-"
    if cb:
        return f"{cb / ns(bench) * 1e3:,.0f} MB/s"
    return f"{ns(bench):,.1f} ns"


def ratio(ours, theirs):
    if ours is None or theirs is None:
        return None
    return ns(theirs) / ns(ours)


def allocs(bench):
    if bench is None or "allocs/op" not in bench:
        return "-"
    return f"{round(bench['allocs/op'], 2):g}"


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("default_json", help="run with OpenSSL as it is")
    ap.add_argument("integer_json", help="run with OpenSSL restricted to its integer code")
    args = ap.parse_args()

    context, base, errors = load_medians(args.default_json)
    _, integer, more_errors = load_medians(args.integer_json)
    errors += more_errors
    if errors:
        for e in errors:
            print(f"bench: {e}", file=sys.stderr)
        return 1

    print(f"Machine: {context.get('cpu_model', 'unknown CPU')}; our SHA-1 path: "
          f"{context.get('sha1_path', 'unknown')} (rows marked integer path: held to the "
          f"integer one).")
    print()
    header = ("| Operation | Kestrow | OpenSSL | ratio | OpenSSL integer-only | ratio "
              "| allocs/op Kestrow / OpenSSL |")
    print(header)
    print("|" + "---|" * 7)
    ratios = {}
    for label, ours_name, theirs_name, cb in ROWS:
        ours = base.get(ours_name)
        ours_int = integer.get(ours_name)
        theirs = base.get(theirs_name) if theirs_name else None
        theirs_int = integer.get(theirs_name) if theirs_name else None
        if ours is None:
            print(f"bench: no median for {ours_name}", file=sys.stderr)
            return 1
        # Each ratio compares figures of the same run, taken side by side.
        r = ratio(ours, theirs)
        r_int = ratio(ours_int, theirs_int)
        ratios[label] = {"default": r, "integer": r_int}
        fmt = lambda x: "-" if x is None else f"{x:.2f}x"
        print(f"| {label} | {figure(ours, cb)} | {figure(theirs, cb)} | {fmt(r)} "
              f"| {figure(theirs_int, cb)} | {fmt(r_int)} "
              f"| {allocs(ours)} / {allocs(theirs)} |")

    print()
    print(f"Medians of CPU time over the repetitions; ratio = OpenSSL's time / ours "
          f"(above 1: ours is faster). Host: {context.get('num_cpus', '?')} CPUs at "
          f"{context.get('mhz_per_cpu', '?')} MHz.")
    print("The Kestrow column is from the first run; the integer-only ratio divides by our own "
          "figure from the second run.")

    # The second run only means something if the mask really changed OpenSSL's code path.
    sha_default = base.get("Sha1_OpenSSL/1048576")
    sha_integer = integer.get("Sha1_OpenSSL/1048576")
    if sha_default and sha_integer:
        slowdown = ns(sha_integer) / ns(sha_default)
        verdict = "switched" if slowdown >= 1.2 else "NOT switched (check OPENSSL_ia32cap)"
        print(f"OpenSSL SHA-1 at 1 MiB is {slowdown:.2f}x slower with the mask: "
              f"its code path {verdict}.")

    print()
    for text, row, variant, least in TARGETS:
        r = ratios[row][variant]
        state = "met" if r is not None and r >= least else "MISSED"
        print(f"Target {text}: {r:.3f}x, {state}")
    for what, prefix in NO_ALLOCATIONS:
        counts = [b.get("allocs/op", -1) for n, b in base.items()
                  if n == prefix or n.startswith(prefix + "/") or n.startswith(prefix + "Integer")]
        state = "met" if counts and all(a == 0 for a in counts) else "MISSED"
        print(f"Target zero heap allocations in {what}: {state}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
