#!/usr/bin/env python3
"""tarvelle-cli ip against Python's ipaddress: thousands of seeded random addresses in one batch run (texts,
counts, the type where Python names it, the global flag against is_global), then dozens of split, range and
merge runs. Runs alike on Python 3.11 and 3.13. Prints one line per mismatch; exits 1 on any."""
import ipaddress as ipa
import json
import random
import subprocess
import sys

CLI = sys.argv[1]
rng = random.Random(20261209)
failures = 0

# Where this Python's is_global is not the registry's Globally Reachable answer, the registry's answer (None
# for "N/A" and a deprecated entry's blanks), most specific first: entries newer than Python's copy of the
# registries, a registry entry inside space Python calls reserved, and the blocks whose answer changed
# between Python releases (3.11.2 and 3.11.7 differ too; 3.13 reads an IPv4-mapped address by its IPv4 one).
REGISTRY_GLOBAL = [(ipa.ip_network(net), answer) for net, answer in [
    ("192.0.0.9/32", True), ("192.0.0.10/32", True), ("192.0.0.0/24", False),
    ("192.88.99.2/32", False), ("192.88.99.0/24", None),
    ("::ffff:0:0/96", False), ("64:ff9b::/96", True), ("64:ff9b:1::/48", False), ("100:0:0:1::/64", False),
    ("2001:1::1/128", True), ("2001:1::2/128", True), ("2001:1::3/128", True), ("2001:3::/32", True),
    ("2001:4:112::/48", True), ("2001:20::/28", True), ("2001:30::/28", True), ("2001::/32", None),
    ("2001:10::/28", None), ("2001::/23", False), ("2002::/16", None), ("3fff::/20", False), ("5f00::/16", False),
]]
MISSING = object()
# Blocks to draw addresses from, with their edges and neighbours: Python's own copy of the registries'
# non-global blocks and exceptions, the blocks Python names by property, and the ones above.
SAMPLED = [n for c in (ipa._IPv4Constants, ipa._IPv6Constants)
           for n in c._private_networks + getattr(c, "_private_networks_exceptions", [])]
SAMPLED += [n for n, _ in REGISTRY_GLOBAL] + [ipa.ip_network(n) for n in (
    "100.64.0.0/10", "224.0.0.0/4", "2000::/3", "fec0::/10", "ff00::/8", "4000::/3", "192.31.196.0/24",
    "192.52.193.0/24", "192.175.48.0/24", "2620:4f:8000::/48")]


def fail(what, got, want):
    global failures
    failures += 1
    print(f"MISMATCH {what}: tarvelle-cli {got!r}, ipaddress {want!r}")


def check(what, got, want):
    if got != want:
        fail(what, got, want)


def run(args, stdin=""):
    done = subprocess.run([CLI, *args], input=stdin, capture_output=True, text=True)
    return done.returncode, done.stdout.splitlines(), done.stderr


def registry_global(a):
    for net, answer in REGISTRY_GLOBAL:
        if a in net:
            return answer
    return MISSING


def expected_global(a):
    answer = registry_global(a)
    if answer is not MISSING:
        return answer
    # Multicast reach is the group's scope, and IPv6 space outside 2000::/3 that no entry holds is not
    # allocated (Python reserved or site-local, and global as no entry says otherwise): no answer.
    if a.is_multicast or (a.version == 6 and (a.is_reserved or a.is_site_local) and a.is_global):
        return None
    return a.is_global


def expected_type(a):
    """The type where one of Python's properties names the entry, else None (not compared)."""
    if a.version == 4:
        named = [(a == ipa.IPv4Address("255.255.255.255"), "limited broadcast"), (a.is_reserved, "reserved"),
                 (a.is_multicast, "multicast"), (a.is_unspecified, "this host on this network"),
                 (a.is_loopback, "loopback"), (a.is_link_local, "link-local"),
                 (not a.is_private and not a.is_global, "shared")]
    else:
        # IPv4-mapped first: Python 3.13 calls ::ffff:127.0.0.1 a loopback address.
        named = [(a.ipv4_mapped is not None, "ipv4-mapped"), (a.is_unspecified, "unspecified"),
                 (a.is_loopback, "loopback"), (a.teredo is not None, "teredo"), (a.sixtofour is not None, "6to4"),
                 (a.is_multicast, "multicast"), (a.is_link_local, "link-local"),
                 (registry_global(a) is MISSING and expected_global(a) is None, "reserved")]
    return next((text for holds, text in named if holds), None)


def check_kind(what, r, a):
    check(f"{what} global", r["global"], expected_global(a))
    if r["global"]:
        check(f"{what} forwardable of a global entry", r["forwardable"], True)
    want = expected_type(a)
    if want is not None:
        check(f"{what} type", r["type"], want)


def random_address(version):
    """An address with a prefix: half of them in a sampled block, at its edges or just outside it."""
    bits = 32 if version == 4 else 128
    if rng.random() < 0.5:
        net = rng.choice([n for n in SAMPLED if n.version == version])
        first, last = int(net.network_address), int(net.broadcast_address)
        value = rng.choice([first + rng.randrange(net.num_addresses), first, last, max(first - 1, 0),
                            min(last + 1, 2**bits - 1)])
    elif version == 4:
        value = rng.getrandbits(32)
    else:
        value = rng.choice([rng.getrandbits(128), rng.getrandbits(16), rng.getrandbits(64) << 64,
                            rng.getrandbits(32) << 96 | rng.getrandbits(16)])
    return ipa.ip_address(value if version == 4 else ipa.IPv6Address(value)), rng.randrange(bits + 1)


def v6_text(a):
    # Feed the CLI the expanded, the compressed or an upper-case form.
    return rng.choice([a.exploded, a.compressed, a.compressed.upper()])


def rfc5952(a):
    # Section 5: an IPv4-mapped address ends in its dotted quad (Python 3.11 writes hex groups there).
    return f"::ffff:{a.ipv4_mapped}" if a.ipv4_mapped else a.compressed


def check_v4(r, a, p):
    n = ipa.ip_network(f"{a}/{p}", strict=False)
    hosts = n.num_addresses
    check(f"{a}/{p} network", r["network"], str(n.network_address))
    check(f"{a}/{p} netmask", r["netmask"], str(n.netmask))
    check(f"{a}/{p} wildcard", r["wildcard"], str(n.hostmask))
    check(f"{a}/{p} broadcast", r["broadcast"], str(n.broadcast_address) if p <= 30 else None)
    first, last = (n.network_address + 1, n.broadcast_address - 1) if p <= 30 else (n.network_address, n.broadcast_address)
    check(f"{a}/{p} first", r["first"], str(first))
    check(f"{a}/{p} last", r["last"], str(last))
    check(f"{a}/{p} total", r["total"], hosts)
    check(f"{a}/{p} usable", r["usable"], hosts - 2 if p <= 30 else hosts)
    check(f"{a}/{p} reverse", r["reverse"], a.reverse_pointer)
    check_kind(f"{a}/{p}", r, a)
    if not 8 <= p <= 30:
        check(f"{a}/{p} breakdown", r["breakdown"], None)


def check_v6(r, a, p):
    n = ipa.ip_network(f"{a}/{p}", strict=False)
    check(f"{a}/{p} address", r["address"], rfc5952(a))
    check(f"{a}/{p} network", r["network"], rfc5952(n.network_address))
    check(f"{a}/{p} last", r["last"], rfc5952(n.broadcast_address))
    # Python 3.13 writes the expanded form of an IPv4-mapped address with a dotted quad.
    check(f"{a}/{p} expanded", r["expanded"], ":".join(f"{int(a) >> s & 0xFFFF:04x}" for s in range(112, -1, -16))
          if a.ipv4_mapped else a.exploded)
    check(f"{a}/{p} total", r["total"], str(n.num_addresses))
    check(f"{a}/{p} reverse", r["reverse"], a.reverse_pointer)
    check_kind(f"{a}/{p}", r, a)
    check(f"{a}/{p} zone", r["zone"], None)


def batch():
    cases = [random_address(4) for _ in range(3000)] + [random_address(6) for _ in range(3000)]
    rng.shuffle(cases)
    lines = [f"{a}/{p}" if a.version == 4 else f"{v6_text(a)}/{p}" for a, p in cases]
    code, out, err = run(["ip", "-j", "-"], "\n".join(lines) + "\n")
    check("ip -j - exit code", code, 0)
    check("ip -j - line count", len(out), len(cases))
    for (a, p), line in zip(cases, out):
        r = json.loads(line)
        if "error" in r:
            fail(f"{a}/{p}", r["error"], "an answer")
        elif a.version == 4:
            check_v4(r, a, p)
        else:
            check_v6(r, a, p)


def random_network(version):
    bits = 32 if version == 4 else 128
    p = rng.randrange(bits - 12, bits + 1) if rng.random() < 0.7 else rng.randrange(bits + 1)
    value = rng.getrandbits(bits)
    return ipa.ip_network((value, p), strict=False)


def blocks(out):
    return [ipa.ip_network(f'{o["network"]}/{o["prefix"]}') for o in map(json.loads, out)]


def splits():
    for k in range(30):
        n = random_network(4 if k % 2 else 6)
        bits = n.max_prefixlen
        new = min(bits, n.prefixlen + rng.randrange(0, 9))
        code, out, err = run(["ip", "split", str(n), "--prefix", str(new), "-j", "--limit", "300"])
        want = []
        for s in n.subnets(new_prefix=new):
            want.append(s)
            if len(want) == 300:
                break
        check(f"split {n} /{new} exit", code, 0)
        got = [json.loads(line) for line in out]
        check(f"split {n} /{new} subnets", [ipa.ip_network(f'{g["network"]}/{g["prefix"]}') for g in got], want)
        for g, s in zip(got, want):
            size = s.num_addresses
            reserved = s.version == 4 and s.prefixlen <= 30
            usable = size - 2 if reserved else size
            check(f"split {s} usable", g["usable"], usable if s.version == 4 else str(usable))
            first = s.network_address + 1 if reserved else s.network_address
            last = s.broadcast_address - 1 if reserved else s.broadcast_address
            check(f"split {s} first", ipa.ip_address(g["first"]), first)
            check(f"split {s} last", ipa.ip_address(g["last"]), last)


def ranges():
    for k in range(40):
        bits = 32 if k % 2 else 128
        a = rng.getrandbits(bits)
        b = min(a + rng.getrandbits(rng.randrange(1, bits)), 2**bits - 1)
        first, last = ipa.ip_address(a if bits == 32 else ipa.IPv6Address(a)), None
        first = ipa.IPv4Address(a) if bits == 32 else ipa.IPv6Address(a)
        last = ipa.IPv4Address(b) if bits == 32 else ipa.IPv6Address(b)
        code, out, err = run(["ip", "range", "-j", f"{first}-{last}"])
        check(f"range {first}-{last} exit", code, 0)
        check(f"range {first}-{last}", blocks(out), list(ipa.summarize_address_range(first, last)))


def merges():
    for k in range(30):
        nets = []
        base = random_network(4)
        for _ in range(rng.randrange(1, 40)):
            version = 4 if rng.random() < 0.6 else 6
            if version == 4:
                p = rng.randrange(max(base.prefixlen, 16), 33)
                value = int(base.network_address) + rng.getrandbits(32 - base.prefixlen) if base.prefixlen < 32 else int(base.network_address)
                nets.append(ipa.ip_network((value, p), strict=False))
            else:
                nets.append(ipa.ip_network((0x20010DB8 << 96 | rng.getrandbits(20) << 80, rng.randrange(44, 129)), strict=False))
        texts = [str(n) for n in nets]
        code, out, err = run(["ip", "merge", "-j", "-"], "\n".join(texts) + "\n")
        check(f"merge #{k} exit", code, 0)
        want = list(ipa.collapse_addresses([n for n in nets if n.version == 4]))
        want += list(ipa.collapse_addresses([n for n in nets if n.version == 6]))
        check(f"merge #{k} {texts[:3]}...", blocks(out), want)


batch()
splits()
ranges()
merges()
print(f"ip_differential: {failures} mismatches" if failures else "ip_differential: all cases agree")
sys.exit(1 if failures else 0)
