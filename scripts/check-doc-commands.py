#!/usr/bin/env python3
"""Runs the commands that README.md and docs/*.md show, so that none goes stale.

A fenced block says in its info string (after the language) who runs it:
  run             run here, in one bash per file, from the repository's folder; a `console`
                  block is a transcript: "$ " starts a command, the lines after it are what it
                  must print ("..." stands for any lines); in an `sh` block every command
                  must succeed, and what it prints is not compared
  run project     the same in the scratch project folder where `file=` blocks are written
  file=NAME       not a command: its text is written to NAME in the scratch project folder
  ci              each line's command (before any "#") must be a line of .ci/run
  dist            run by scripts/check-packages.sh against the release packages (below): "> "
                  starts a command typed at cmd, "$ " or an `sh` line one typed at bash
A block of language `text` is no command. In README.md every other block must say who runs
it, so that a new command cannot slip in unchecked.

The commands run with HOME in a scratch folder (so ~/.local is a scratch install), on PATH
first ~/.local/bin and then the native build's tools, MANPAGER=cat, LC_ALL=C.UTF-8 and no
KESTROW_ variables.

Usage: check-doc-commands.py [FILE...]      run and check (default: README.md docs/*.md)
       check-doc-commands.py dist DIST bash    the `dist` blocks' bash commands, in DIST; the
                                               README's `sudo apt install` becomes apt-get's
                                               simulation, which changes nothing
       check-doc-commands.py dist DIST cmd RUNNER
                                               their cmd commands, as one batch file that RUNNER
                                               (cmake/wine-run.sh) runs with cmd in a scratch
                                               folder
Exits 1 naming every command that failed or printed something else.
"""
import glob
import os
import re
import shlex
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOCS = [os.path.join(ROOT, "README.md")] + sorted(glob.glob(os.path.join(ROOT, "docs", "*.md")))
MARKS = ("run", "ci", "dist")
FENCE = re.compile(r"^(\s*)```(.*)$")
PROMPT = re.compile(r"^(\$|>) (.*)$")


def blocks(path):
    """(line number, language, info words, lines) of each fenced block."""
    found = []
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        indent, info = m.group(1), m.group(2).split()
        body = []
        i += 1
        while i < len(lines) and not FENCE.match(lines[i]):
            body.append(lines[i][len(indent):] if lines[i].startswith(indent) else lines[i])
            i += 1
        if i == len(lines):
            sys.exit(f"{path}: a fenced block is not closed")
        found.append((i - len(body), info[0] if info else "", info[1:], body))
        i += 1
    return found


def commands(lang, body):
    """[{"prompt", "command", "output"}]: a transcript's commands with what they print, or
    each command of a script block (a trailing backslash continues it)."""
    result = []
    if lang == "console":
        for line in body:
            m = PROMPT.match(line)
            if m:
                result.append({"prompt": m.group(1), "command": m.group(2), "output": []})
            elif result and result[-1]["command"].endswith("\\") and not result[-1]["output"]:
                result[-1]["command"] += "\n" + line
            elif result:
                result[-1]["output"].append(line)
            else:
                sys.exit(f"a transcript must start with a prompt: {line!r}")
        return result
    for line in body:
        if result and result[-1]["command"].endswith("\\"):
            result[-1]["command"] += "\n" + line
        elif line.strip() and not line.lstrip().startswith("#"):
            result.append({"prompt": None, "command": line, "output": None})
    return result


def matches(expected, actual):
    """Line by line; an expected "..." stands for any number of lines."""
    if not expected:
        return not actual
    if expected[0] == "...":
        return any(matches(expected[1:], actual[i:]) for i in range(len(actual) + 1))
    return bool(actual) and expected[0] == actual[0] and matches(expected[1:], actual[1:])


def bare(command):
    """The command without a comment or variables set for it alone (DISPLAY= make run)."""
    return re.sub(r"^(\w+=\S*\s+)+", "", command.split("#")[0].strip())


def ci_lines():
    with open(os.path.join(ROOT, ".ci", "run"), encoding="utf-8") as f:
        return {bare(line) for line in f}


def check_file(path, scratch, errors):
    rel = os.path.relpath(path, ROOT)
    project = os.path.join(scratch, "project")
    os.makedirs(project, exist_ok=True)
    script = ["exec 2>&1"]
    steps = []  # (where, command dict)
    for line, lang, info, body in blocks(path):
        where = f"{rel}:{line}"
        files = [w[5:] for w in info if w.startswith("file=")]
        mark = [w for w in info if w in MARKS]
        if files:
            with open(os.path.join(project, files[0]), "w", encoding="utf-8") as f:
                f.write("\n".join(body) + "\n")
            continue
        if not mark:
            if lang != "text" and rel == "README.md":
                errors.append(f"{where}: a block that says neither run, ci, dist nor file=")
            continue
        if mark[0] == "ci":
            known = ci_lines()
            for c in commands(lang, body):
                if bare(c["command"]) not in known:
                    errors.append(f"{where}: '{c['command']}' is not a command of .ci/run")
        elif mark[0] == "run":
            folder = project if "project" in info else ROOT
            for c in commands(lang, body):
                steps.append((where, c))
                script.append(f"cd {shlex.quote(folder)}")
                script.append(c["command"])
                script.append(f"printf '\\n@@doc-check {len(steps) - 1} %d\\n' $?")
    if not steps:
        return
    env = {k: v for k, v in os.environ.items() if not k.startswith("KESTROW_")}
    env.update(HOME=os.path.join(scratch, "home"), MANPAGER="cat", PAGER="cat",
               LC_ALL="C.UTF-8")
    # An installed kestrow-sign first (the README installs one), else the native build's.
    env["PATH"] = ":".join([os.path.join(env["HOME"], ".local", "bin"),
                            os.path.join(ROOT, "build", "native", "tools"),
                            env.get("PATH", "/usr/bin:/bin")])
    os.makedirs(env["HOME"], exist_ok=True)
    out = subprocess.run(["bash", "-c", "\n".join(script) + "\n"], env=env, cwd=ROOT,
                         stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, timeout=900)
    text = out.stdout.decode("utf-8", "replace")
    pieces = re.split(r"\n?@@doc-check (\d+) (\d+)\n", text)
    done = {int(pieces[i]): (pieces[i - 1], int(pieces[i + 1])) for i in range(1, len(pieces), 3)}
    for n, (where, c) in enumerate(steps):
        printed, status = done.get(n, ("(never reached)", -1))
        printed = printed[:-1] if printed.endswith("\n") else printed
        lines = printed.split("\n") if printed else []
        if c["output"] is None and status != 0:
            errors.append(f"{where}: '{c['command']}' failed ({status}):\n{printed}")
        elif c["output"] is not None and not matches(c["output"], lines):
            errors.append(f"{where}: '{c['command']}' printed:\n{printed}\n"
                          "instead of:\n" + "\n".join(c["output"]))


def dist_commands(shell):
    """The `dist` commands of every file, with the files they come from."""
    found = []
    for path in DOCS:
        for line, lang, info, body in blocks(path):
            if "dist" in info:
                where = f"{os.path.relpath(path, ROOT)}:{line}"
                found += [(where, c) for c in commands(lang, body)
                          if (c["prompt"] == ">") == (shell == "cmd")]
    return found


def check_dist(folder, shell, runner, errors):
    found = dist_commands(shell)
    if not found:
        errors.append(f"no `dist` command for {shell}")
    if shell == "bash":
        for where, c in found:
            command = re.sub(r"^sudo apt install ", "apt-get install --simulate ", c["command"])
            out = subprocess.run(["bash", "-c", command], cwd=folder, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=300)
            printed = out.stdout.decode("utf-8", "replace").rstrip("\n")
            if out.returncode != 0 or c["output"] and not matches(c["output"], printed.split("\n")):
                errors.append(f"{where}: '{command}' in {folder} gave {out.returncode}:\n{printed}")
        return
    with tempfile.TemporaryDirectory(prefix="kestrow-doc-check.") as scratch:
        batch = os.path.join(scratch, "commands.bat")
        with open(batch, "w", encoding="utf-8", newline="\r\n") as f:
            f.write("\n".join(["@echo off"] + [c["command"] for _, c in found]) + "\n")
        # Standard error apart: the runner may say that it makes a Wine prefix first.
        out = subprocess.run([runner, "cmd", "/c", "Z:" + batch.replace("/", "\\")], cwd=scratch,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, timeout=300)
    printed = out.stdout.decode("utf-8", "replace").replace("\r", "").rstrip("\n")
    expected = [line for _, c in found for line in c["output"]]
    if out.returncode != 0 or not matches(expected, printed.split("\n") if printed else []):
        errors.append(f"{sorted({w for w, _ in found})}: cmd gave {out.returncode}:\n{printed}\n"
                      f"{out.stderr.decode('utf-8', 'replace')}instead of:\n" + "\n".join(expected))


def main(args):
    errors = []
    if args[:1] == ["dist"]:
        if len(args) not in (3, 4) or args[2] not in ("bash", "cmd") or (len(args) == 4) != (
                args[2] == "cmd"):
            sys.exit("usage: check-doc-commands.py dist DIST bash | dist DIST cmd RUNNER")
        check_dist(os.path.abspath(args[1]), args[2], args[3] if len(args) > 3 else None, errors)
    else:
        for path in args or DOCS:
            with tempfile.TemporaryDirectory(prefix="kestrow-doc-check.") as scratch:
                check_file(os.path.abspath(path), scratch, errors)
    for e in errors:
        print(f"check-doc-commands: {e}", file=sys.stderr)
    if not errors and args[:1] != ["dist"]:
        print(f"check-doc-commands: every command in {len(args or DOCS)} files ran as shown")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
