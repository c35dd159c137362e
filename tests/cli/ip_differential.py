#!/usr/bin/env python3
"""tarvelle-cli ip against Python's ipaddress: thousands of seeded random addresses in one batch run, then
dozens of split, range and merge runs. Prints one line per mismatch; exits 1 on any."""
import ipaddress as ipa
import json
import random
import subprocess
import sys

CLI = sys.argv[1]
rng = random.Random(20261209)
failures = 0

V4_TYPES = [("0.0.0.0/8", "this network"), ("10.0.0.0/8", "private"), ("100.64.0.0/10", "shared"),
            ("127.0.0.0/8", "loopback"), ("169.254.0.0/16", "link-local"), ("172.16.0.0/12", "private"),
            ("192.0.0.0/24", "IETF protocol"), ("192.0.2.0/24", "documentation"), ("192.168.0.0/16", "private"),
            ("198.18.0.0/15", "benchmarking"), ("198.51.100.0/24", "documentation"),
            ("203.0.113.0/24", "documentation"), ("224.0.0.0/4", "multicast"), ("240.0.0.0/4", "reserved"),
            ("255.255.255.255/32", "limited broadcast")]
V6_BLOCKS = ["2001:db8::/32", "fc00::/7", "fe80::/10", "ff00::/8", "2002::/16", "2001::/32", "2000::/3", "::ffff:0:0/96"]


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


def v4_type(a):
    # Python lacks some of these blocks by name (shared, benchmarking, IETF protocol): explicit networks.
    best = None
    for net, text in V4_TYPES:
        n = ipa.ip_network(net)
        if a in n and (best is None or n.prefixlen > best[0]):
            best = (n.prefixlen, text)
    if best is None:
        assert not a.is_private and not a.is_reserved and not a.is_multicast and not a.is_loopback
        return "public"
    text = best[1]
    # Cross-check against Python's own properties where it has them.
    props = {"loopback": a.is_loopback, "link-local": a.is_link_local, "multicast": a.is_multicast,
             "private": a.is_private}
    if text in props and not props[text]:
        fail(f"{a} python property for {text}", False, True)
    return text


def v6_type(a):
    if a.is_unspecified:
        return "unspecified"
    if a.is_loopback:
        return "loopback"
    if a.ipv4_mapped is not None:
        return "IPv4-mapped"
    if a in ipa.ip_network("2001:db8::/32"):
        return "documentation"
    if a.teredo is not None:
        return "Teredo"
    if a.sixtofour is not None:
        return "6to4"
    if a.is_multicast:
        return "multicast"
    if a.is_link_local:
        return "link-local"
    if a in ipa.ip_network("fc00::/7"):
        return "unique local"
    if a in ipa.ip_network("2000::/3"):
        return "global unicast"
    return "reserved"


def random_v4():
    if rng.random() < 0.5:
        net = ipa.ip_network(rng.choice(V4_TYPES)[0])
        value = int(net.network_address) + rng.randrange(net.num_addresses)
        value = rng.choice([value, int(net.network_address), int(net.broadcast_address),
                            int(net.network_address) - 1 if int(net.network_address) else 0,
                            min(int(net.broadcast_address) + 1, 2**32 - 1)])
    else:
        value = rng.getrandbits(32)
    return ipa.IPv4Address(value), rng.randrange(33)


def random_v6():
    if rng.random() < 0.5:
        net = ipa.ip_network(rng.choice(V6_BLOCKS))
        value = int(net.network_address) + rng.getrandbits(128 - net.prefixlen)
    else:
        value = rng.choice([rng.getrandbits(128), rng.getrandbits(16), rng.getrandbits(64) << 64,
                            rng.getrandbits(32) << 96 | rng.getrandbits(16)])
    return ipa.IPv6Address(value), rng.randrange(129)


def v6_text(a):
    # Feed the CLI the expanded, the compressed or an upper-case form.
    return rng.choice([a.exploded, a.compressed, a.compressed.upper()])


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
    check(f"{a}/{p} type", r["type"], v4_type(a))
    if not 8 <= p <= 30:
        check(f"{a}/{p} breakdown", r["breakdown"], None)


def check_v6(r, a, p):
    n = ipa.ip_network(f"{a}/{p}", strict=False)
    # Python 3.11 writes IPv4-mapped addresses in hex groups: compare parsed values there.
    same = lambda got, want: ipa.IPv6Address(got) == want if want.ipv4_mapped else got == want.compressed
    if not same(r["address"], a):
        fail(f"{a}/{p} address", r["address"], a.compressed)
    if not same(r["network"], n.network_address):
        fail(f"{a}/{p} network", r["network"], n.network_address.compressed)
    if not same(r["last"], n.broadcast_address):
        fail(f"{a}/{p} last", r["last"], n.broadcast_address.compressed)
    check(f"{a}/{p} expanded", r["expanded"], a.exploded)
    check(f"{a}/{p} total", r["total"], str(n.num_addresses))
    check(f"{a}/{p} reverse", r["reverse"], a.reverse_pointer)
    check(f"{a}/{p} type", r["type"], v6_type(a))
    check(f"{a}/{p} zone", r["zone"], None)


def batch():
    cases = [random_v4() for _ in range(3000)] + [random_v6() for _ in range(3000)]
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
