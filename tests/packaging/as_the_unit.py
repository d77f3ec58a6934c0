#!/usr/bin/python3
"""Runs a systemd service's ExecStart= as far as a test can without systemd: with its
Environment= (NAME=VALUE arguments replace some), its UMask=, its MemoryDenyWriteExecute= and its
SystemCallFilter= with SystemCallErrorNumber=; the command's /usr paths are taken inside ROOT.
  as_the_unit.py UNIT ROOT [NAME=VALUE...]
Debian's python3, for python3-seccomp."""
import ctypes, errno, os, re, shlex, subprocess, sys
import seccomp

unit, root, *replaced = sys.argv[1:]
service, section = {}, None
for line in open(unit, encoding="utf-8"):
    line = line.strip()
    if line.startswith("["):
        section = line
    elif line and line[0] not in "#;" and section == "[Service]":
        key, _, value = line.partition("=")
        service.setdefault(key, []).append(value)
last = lambda key, default: service.get(key, [default])[-1]

env = dict(w.split("=", 1) for value in service.get("Environment", []) for w in shlex.split(value))
env.update(arg.split("=", 1) for arg in replaced)
def words(word):  # $NAME alone is split at whitespace; ${NAME} stays in its word
    if re.fullmatch(r"\$\w+", word):
        return env.get(word[1:], "").split()
    return [re.sub(r"\$\{(\w+)\}", lambda m: env.get(m[1], ""), word)]
[command] = service["ExecStart"]
argv = [root + w if w.startswith("/usr/") else w for word in shlex.split(command) for w in words(word)]

# systemd's groups of system calls, as `systemd-analyze syscall-filter` lists them.
groups, group = {}, None
listing = subprocess.run(["systemd-analyze", "syscall-filter"], capture_output=True, text=True,
                         check=True).stdout
for line in listing.splitlines():
    if line.startswith("@"):
        group = groups.setdefault(line.strip(), [])
    elif line.strip() and not line.lstrip().startswith("#") and group is not None:
        group.append(line.strip())
names = lambda item: [n for m in groups[item] for n in names(m)] if item[0] == "@" else [item]
allowed, denied = set(), set()
for value in service.get("SystemCallFilter", []):
    assert allowed or not value.startswith("~"), "a filter that allows all but some"
    (denied if value.startswith("~") else allowed).update(
        n for item in value.lstrip("~").split() for n in names(item))
calls = seccomp.SyscallFilter(seccomp.ERRNO(getattr(errno, last("SystemCallErrorNumber", "EPERM"))))
for name in sorted(allowed - denied):
    try:
        calls.add_rule(seccomp.ALLOW, name)
    except (RuntimeError, ValueError):
        pass  # no such call on this architecture

os.umask(int(last("UMask", "0022"), 8))
if last("MemoryDenyWriteExecute", "no") == "yes":
    libc = ctypes.CDLL(None, use_errno=True)
    if libc.prctl(65, 1, 0, 0, 0) != 0:  # PR_SET_MDWE, PR_MDWE_REFUSE_EXEC_GAIN: Linux 6.3
        sys.exit(f"as_the_unit: no PR_SET_MDWE here: {os.strerror(ctypes.get_errno())}")
if allowed:
    calls.load()  # and no new privileges, as libseccomp asks by default
os.execv(argv[0], argv)
