#!/usr/bin/env python3
"""Random expressions for the evaluator's property test, with their values.

Builds random expression trees, writes each as text with only the parentheses the operator
priorities need (plus some spare ones), and computes its value from the tree with the same
rules: doubles, 32-bit bit operations, saturating truncation for the backslash and "%".

Usage: eval_reference.py COUNT SEED
Output: "V<TAB>name<TAB>value" lines for the variables, then "E<TAB>expression<TAB>result"
lines, the result a float repr or the name of the expected error.
"""
import ctypes
import ctypes.util
import math
import random
import sys

libm = ctypes.CDLL(ctypes.util.find_library("m"))
libm.pow.restype = ctypes.c_double
libm.pow.argtypes = [ctypes.c_double, ctypes.c_double]

# text: (left priority, right priority)
BINARY = {
    "^": (14, 13), "*": (11, 11), "/": (11, 11), "\\": (11, 11), "%": (11, 11),
    "+": (10, 10), "-": (10, 10), "<<": (9, 9), ">>": (9, 9), "&": (8, 8), "~": (7, 7),
    "|": (6, 6), "..": (5, 4), "=": (3, 3), "<>": (3, 3), "<": (3, 3), "<=": (3, 3),
    ">": (3, 3), ">=": (3, 3), "and": (2, 2), "or": (1, 1),
}
UNARY_PRIORITY = 12
END = -100
SPACE_OPTIONAL = set("^*/\\%+-&~|=<>")

VARIABLES = [("x", 4.0), ("not_x", 7.0), ("a$b", 0.5), ("y!", -3.0), ("orange", 9.0),
             ("AND_", 2.0), ("a", 1.5), ("ab", 3e9), ("_t", -0.25)]


class EvalError(Exception):
    pass


def trunc32(v):
    if math.isnan(v):
        return 0
    if v >= 2147483647:
        return 2147483647
    if v <= -2147483648:
        return -2147483648
    return int(v)


def low32(v):
    if math.isnan(v) or math.isinf(v):
        return 0
    return int(v) & 0xFFFFFFFF


def apply_binary(op, a, b):
    if op == "^":
        return libm.pow(a, b)
    if op == "*":
        return a * b
    if op == "/":
        if b == 0:
            raise EvalError("ERR_ZERODIVISION")
        return a / b
    if op in ("\\", "%"):
        ia, ib = trunc32(a), trunc32(b)
        if ib == 0:
            raise EvalError("ERR_ZERODIVISION")
        if op == "\\":
            q = abs(ia) // abs(ib)
            return float(-q if (ia < 0) != (ib < 0) else q)
        r = abs(ia) % abs(ib)
        return float(-r if ia < 0 else r)
    if op == "+":
        return a + b
    if op == "-":
        return a - b
    if op == "<<":
        return float((low32(a) << (low32(b) & 31)) & 0xFFFFFFFF)
    if op == ">>":
        return float(low32(a) >> (low32(b) & 31))
    if op == "&":
        return float(low32(a) & low32(b))
    if op == "~":
        return float(low32(a) ^ low32(b))
    if op == "|":
        return float(low32(a) | low32(b))
    if op == "..":
        raise EvalError("ERR_WRONGOPCST")
    comparisons = {"=": a == b, "<>": a != b, "<": a < b, "<=": a <= b, ">": a > b, ">=": a >= b}
    if op in comparisons:
        return 1.0 if comparisons[op] else 0.0
    if op == "and":
        return b if (a != 0 and b != 0) else 0.0
    if op == "or":
        return a if a != 0 else b
    raise AssertionError(op)


def apply_unary(op, v):
    if op == "-":
        return -v
    if op == "~":
        return float(~low32(v) & 0xFFFFFFFF)
    return 1.0 if v == 0 else 0.0


def evaluate(node):
    kind = node[0]
    if kind == "leaf":
        return node[2]
    if kind == "unary":
        return apply_unary(node[1], evaluate(node[2]))
    left = evaluate(node[2])
    right = evaluate(node[3])
    return apply_binary(node[1], left, right)


def random_leaf(rng):
    choice = rng.random()
    if choice < 0.3:
        n = rng.randint(0, 20)
        return ("leaf", str(n), float(n))
    if choice < 0.45:
        name, value = rng.choice(VARIABLES)
        spelled = "".join(c.upper() if rng.random() < 0.5 else c.lower() for c in name)
        return ("leaf", spelled, value)
    if choice < 0.55:
        n = rng.randint(0, 0xFFFFFFFF)
        forms = ["$%X" % n, "$%x" % n, "0x%X" % n, "0X%x" % n]
        return ("leaf", rng.choice(forms), float(n))
    if choice < 0.75:
        text = rng.choice(["2.5", "0.5", "7.25", "1e3", "1.5E-2", "3e9", "1e10", "2147483648",
                           "4294967296", "0.0", "1e300", "123456789.75"])
        return ("leaf", text, float(text))
    n = rng.randint(0, 3)
    return ("leaf", str(n), float(n))


def random_tree(rng, depth):
    if depth == 0 or rng.random() < 0.25:
        return random_leaf(rng)
    if rng.random() < 0.15:
        return ("unary", rng.choice(["-", "~", "not"]), random_tree(rng, depth - 1))
    ops = list(BINARY)
    op = rng.choice(ops) if rng.random() < 0.97 else ".."
    if op == "..":
        op = ".." if rng.random() < 0.3 else "+"
    return ("binary", op, random_tree(rng, depth - 1), random_tree(rng, depth - 1))


def operator_text(rng, op):
    if op in SPACE_OPTIONAL and rng.random() < 0.4:
        return op
    return " " + op + " "


def render(rng, node, limit, follow):
    """Text that, parsed at priority `limit` and followed by an operator of left priority
    `follow`, yields exactly this node."""
    kind = node[0]
    if kind == "leaf":
        return node[1]
    if rng.random() < 0.08:
        return "(" + render(rng, node, -1, END) + ")"
    if kind == "unary":
        if follow > UNARY_PRIORITY:
            return "(" + render(rng, node, -1, END) + ")"
        op = node[1] + (" " if node[1] == "not" else "")
        return op + render(rng, node[2], UNARY_PRIORITY, follow)
    left, right = BINARY[node[1]]
    if left <= limit or follow > right:
        return "(" + render(rng, node, -1, END) + ")"
    return (render(rng, node[2], limit, left) + operator_text(rng, node[1]) +
            render(rng, node[3], right, follow))


def main():
    count, seed = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    for name, value in VARIABLES:
        print("V\t%s\t%r" % (name, value))
    for _ in range(count):
        tree = random_tree(rng, rng.randint(1, 6))
        text = render(rng, tree, -1, END)
        try:
            result = repr(evaluate(tree))
        except EvalError as error:
            result = str(error)
        print("E\t%s\t%s" % (text, result))


if __name__ == "__main__":
    main()
