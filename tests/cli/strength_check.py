#!/usr/bin/env python3
"""tarvelle-cli passwords --strength -j against a listing of every draw: seeded random tiny options, each run
once, each candidate's class counts, characters and shuffle draws enumerated here with their odds, the kept
passwords' Shannon entropy, min-entropy and acceptance worked out from that list and compared with the JSON
(read with Python's json). Prints one line per mismatch; exits 1 on any."""
import itertools
import json
import math
import pathlib
import random
import re
import subprocess
import sys
from collections import Counter, defaultdict

CLI = sys.argv[1]
SOURCE = pathlib.Path(__file__).resolve().parents[2]
rng = random.Random(20261210)
failures = 0

# The letter pairs, read from the program's source rather than copied.
PAIRS = set(re.findall(r'"([a-z]{2})"', (SOURCE / "passwords" / "StringsComp.cpp").read_text()))
SIMILAR = set("B8G6I1l0OQDS5Z2|")
UPPER = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
LOWER = "abcdefghijklmnopqrstuvwxyz"
DIGITS = "0123456789"
MOST_LISTED = 200_000  # (characters, shuffle) pairs per setting, to keep the run short


def passes(text, strict):
    """The pair test as the rules read: runs of vowels and consonants, listed pairs of successive letters."""
    vowels = consonants = 0
    previous = None
    for c in text:
        if not ("a" <= c.lower() <= "z" and c.isascii()):
            vowels = consonants = 0
            continue
        c = c.lower()
        vowel = c in "aeiou"
        look = previous is not None if strict else (vowels if vowel else consonants) > 0
        if look and previous + c not in PAIRS:
            return False
        vowels, consonants = (vowels + 1, 0) if vowel else (0, consonants + 1)
        previous = c
        if vowels > 2 or consonants > 3:
            return False
    return True


def kept(text, mode):
    return mode == 0 or passes(text, mode == 1) == (mode != 3)


def shuffles(length):
    """Each order the shuffle can leave, with its odds: every sequence of the length's draws."""
    orders = Counter()
    for draws in itertools.product(range(length), repeat=length):
        order = list(range(length))
        for i, r in enumerate(draws):
            order[i], order[r] = order[r], order[i]
        orders[tuple(order)] += 1
    return {order: n / length**length for order, n in orders.items()}


def listed_pairs(sets, ranges, lengths):
    total = 0
    for counts in itertools.product(*[range(lo, hi + 1) for lo, hi in ranges]):
        if sum(counts) in lengths:
            total += math.prod(len(s) ** n for s, n in zip(sets, counts)) * math.factorial(sum(counts))
    return total


def enumerate_kept(sets, ranges, lengths, mode):
    odds = defaultdict(float)
    for counts in itertools.product(*[range(lo, hi + 1) for lo, hi in ranges]):
        count_odds = math.prod(1 / (hi - lo + 1) for lo, hi in ranges)
        length = sum(counts)
        if length not in lengths:
            continue
        orders = shuffles(length)
        pools = [s for s, n in zip(sets, counts) for _ in range(n)]
        char_odds = count_odds * math.prod(1 / len(pool) for pool in pools)
        for chars in itertools.product(*pools):
            for order, p in orders.items():
                text = "".join(chars[j] for j in order)
                if kept(text, mode):
                    odds[text] += char_odds * p
    return odds


def random_options():
    """Tiny options: at most two letters and four characters a password, Other sets that may hold a letter."""
    opts, sets, ranges = [], [], []
    letters = rng.choice([(0, 1), (1, 1), (0, 2), (2, 0), (1, 0)])
    exclude = rng.random() < 0.3
    for name, chars, most in (("upper", UPPER, letters[0]), ("lower", LOWER, letters[1]), ("digits", DIGITS, 1)):
        if most == 0 and rng.random() < 0.5:
            opts += [f"--{name}", "off"]
            lo = hi = 0
        else:
            lo, hi = rng.randint(0, most), most
            opts += [f"--{name}", f"{lo}-{hi}"]
        sets.append([c for c in chars if not (exclude and c in SIMILAR)])
        ranges.append((lo, hi))
    other = "".join(rng.sample("!#a€xé-1", rng.randint(1, 3)))
    lo, hi = rng.choice([(0, 0), (0, 1), (1, 1), (0, 2)])
    opts += ["--other", f"{lo}-{hi}", "--other-chars", other]
    sets.append([c for c in other if not (exclude and c in SIMILAR)])
    ranges.append((lo, hi))
    shortest = rng.randint(1, 3)
    longest = rng.randint(shortest, 4)
    mode = rng.randint(0, 3)
    opts += ["--length", f"{shortest}-{longest}", "--mode", str(mode)] + (["--exclude-similar"] if exclude else [])
    return opts, sets, ranges, range(shortest, longest + 1), mode


def compare(opts, odds):
    global failures
    done = subprocess.run([CLI, "passwords", "--strength", "-j", *opts], capture_output=True, text=True)
    acceptance = sum(odds.values())
    if acceptance == 0:
        if done.returncode != 1 or done.stdout:
            failures += 1
            print(f"MISMATCH {opts}: no password can be kept, tarvelle-cli exit {done.returncode} {done.stdout!r}")
        return
    got = json.loads(done.stdout)
    shannon = -sum(p / acceptance * math.log2(p / acceptance) for p in odds.values())
    least = -math.log2(max(odds.values()) / acceptance)
    slack = 1e-6 + (0 if got["exact"] else got["bound_bits"])
    for key, want, tolerance in (("shannon_bits", shannon, slack), ("min_entropy_bits", least, slack),
                                 ("acceptance", acceptance, 1e-6)):
        if abs(got[key] - want) > tolerance:
            failures += 1
            print(f"MISMATCH {opts} {key}: tarvelle-cli {got[key]!r}, enumeration {want!r}")


checked = 0
while checked < 30:
    opts, sets, ranges, lengths, mode = random_options()
    if any(hi > 0 and not s for s, (lo, hi) in zip(sets, ranges)) or listed_pairs(sets, ranges, lengths) > MOST_LISTED:
        continue
    compare(opts, enumerate_kept(sets, ranges, lengths, mode))
    checked += 1

print(f"strength_check: {failures} mismatches" if failures else f"strength_check: all {checked} settings agree")
sys.exit(1 if failures else 0)
