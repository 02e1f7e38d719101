#!/usr/bin/env bash
# Checks that no function of the product (plugin/, host/, apps/, platform/) is longer than a reader can hold:
# at most 60 lines from the first line of its declaration to its closing brace, unless the comment just above
# it holds a line `// Long: <why it is kept whole>`. Lambdas count as part of the function that holds them; a
# lambda outside any function (a table's entry, a variable's value) counts on its own. A `Long:` above a
# function that is not long is reported too, so the reasons stay true.
#
# It reads the sources themselves rather than the compiler's tree: they are clang-formatted C++, so a scanner
# that drops comments, string and character literals and preprocessor lines and then matches brackets finds
# every function body exactly, in well under a second, with no build tree, and sees both sides of every
# `#if _WIN32` (only the first branch of a conditional is read, so the brackets stay balanced). A file whose
# brackets do not balance is an error, not a silent pass.
#
# Usage: scripts/check-function-length.sh [--list] [files...]   (--list: every long function, with reasons)
set -euo pipefail
cd "$(dirname "$0")/.."
command -v python3 >/dev/null || { echo "check-function-length: needs python3" >&2; exit 1; }

exec python3 - "$@" <<'PYTHON'
import re
import subprocess
import sys

LIMIT = 60
ROOTS = ["plugin", "host", "apps", "platform"]
SUFFIXES = (".cpp", ".h", ".hpp", ".cc", ".c")
REASON = re.compile(r"^\s*//\s*Long:\s*\S")

args = sys.argv[1:]
list_all = "--list" in args
files = [a for a in args if a != "--list"]
if not files:
    listed = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "--"] + ROOTS,
                            check=True, capture_output=True, text=True).stdout.split()
    files = sorted(f for f in listed if f.endswith(SUFFIXES))


class ParseError(Exception):
    pass


WORD = re.compile(r"[A-Za-z_]\w*")
NUMBER = re.compile(r"\.?[0-9](?:'?[0-9A-Za-z_.]|[eEpP][+-])*")

def tokens(text):
    """(kind, text, line) for identifiers, numbers and punctuation; literals become one 'lit' token."""
    out = []
    i, n, line = 0, len(text), 1
    at_line_start = True
    skip_depth = 0  # > 0 while inside an #else / #elif branch that is not read
    cond_stack = []  # per open #if: True once its first branch has ended
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            at_line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if at_line_start and c == "#":
            # A preprocessor line, with its continuations.
            end = i
            while True:
                end = text.find("\n", end)
                if end == -1:
                    end = n
                    break
                if text[end - 1] == "\\":
                    end += 1
                    line += 1
                    continue
                break
            directive = re.match(r"#\s*(\w*)", text[i:end]).group(1)
            if directive in ("if", "ifdef", "ifndef"):
                cond_stack.append(False)
                if skip_depth:
                    skip_depth += 1
            elif directive in ("else", "elif", "elifdef", "elifndef"):
                if not cond_stack:
                    raise ParseError(f"line {line}: #{directive} without #if")
                if skip_depth <= 1 and not cond_stack[-1]:
                    cond_stack[-1] = True
                    skip_depth = 1
            elif directive == "endif":
                if not cond_stack:
                    raise ParseError(f"line {line}: #endif without #if")
                if cond_stack.pop() and skip_depth:
                    skip_depth -= 1
                elif skip_depth > 1:
                    skip_depth -= 1
            i = end
            continue
        at_line_start = False
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end == -1 else end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            if end == -1:
                raise ParseError(f"line {line}: unterminated comment")
            line += text.count("\n", i, end)
            i = end + 2
            continue
        m = re.compile(r'(?:u8|[uUL])?R"([^(\s]*)\(').match(text, i)
        if m:
            close = ")" + m.group(1) + '"'
            end = text.find(close, m.end())
            if end == -1:
                raise ParseError(f"line {line}: unterminated raw string")
            start_line = line
            line += text.count("\n", i, end)
            i = end + len(close)
            if not skip_depth:
                out.append(("lit", '""', start_line))
            continue
        m = re.compile(r"(?:u8|[uUL])?([\"'])").match(text, i)
        if m:
            quote = m.group(1)
            j = m.end()
            while j < n and text[j] != quote:
                if text[j] == "\\":
                    j += 1
                elif text[j] == "\n":
                    raise ParseError(f"line {line}: unterminated literal")
                j += 1
            i = j + 1
            if not skip_depth:
                out.append(("lit", '""', line))
            continue
        # A name, or a number with its digit separators and exponents.
        m = WORD.match(text, i) or NUMBER.match(text, i)
        if m:
            i = m.end()
            if not skip_depth:
                out.append(("id" if m.re is WORD else "num", m.group(0), line))
            continue
        # '>>' stays two tokens: it may close two template argument lists.
        two = text[i:i + 2]
        if two in ("::", "->", "==", "!=", "<=", ">=", "&&", "||", "+=", "-=", "*=", "/=", "|=", "&="):
            i += 2
            if not skip_depth:
                out.append(("punct", two, line))
            continue
        i += 1
        if not skip_depth:
            out.append(("punct", c, line))
    if cond_stack:
        raise ParseError("#if without #endif")
    return out


CLOSERS = {"(": ")", "[": "]", "{": "}"}
QUALIFIERS = {"const", "volatile", "noexcept", "override", "final", "mutable", "constexpr", "&", "&&", "try"}
NOT_NAMES = {"decltype", "alignas", "__attribute__", "__declspec", "sizeof", "noexcept", "alignof", "requires"}
ACCESS = {"public", "private", "protected"}


def match_brackets(toks):
    """Index of the partner of every bracket."""
    partner, stack = {}, []
    for k, (kind, text, line) in enumerate(toks):
        if kind != "punct":
            continue
        if text in CLOSERS:
            stack.append(k)
        elif text in (")", "]", "}"):
            if not stack or CLOSERS[toks[stack[-1]][1]] != text:
                raise ParseError(f"line {line}: unmatched '{text}'")
            opener = stack.pop()
            partner[opener], partner[k] = k, opener
    if stack:
        raise ParseError(f"line {toks[stack[-1]][2]}: unclosed '{toks[stack[-1]][1]}'")
    return partner


def body_kind(toks, partner, head, brace):
    """What the brace at `brace` opens, given the tokens of its head (indexes): 'function', 'lambda',
    'scope' (namespace, class, linkage block) or 'data' (an initializer or enumeration)."""
    texts = [toks[k][1] for k in head]
    if not texts:
        return "data"
    # Step back over qualifiers and a trailing return type to the token that closes the parameters.
    k = len(head) - 1
    while k >= 0 and texts[k] in QUALIFIERS:
        k -= 1
    if k >= 0 and texts[k] == ")" and k > 0:
        opener = head.index(partner[head[k]])
        if opener > 0 and texts[opener - 1] == "noexcept":
            k = opener - 2
            while k >= 0 and texts[k] in QUALIFIERS:
                k -= 1
    arrow = None
    depth = 0
    for j, t in enumerate(texts):
        if t in ("(", "[", "{"):
            depth += 1
        elif t in (")", "]", "}"):
            depth -= 1
        elif t == "->" and depth == 0:
            arrow = j
    if arrow is not None and arrow > 0 and arrow <= k + 1:
        k = arrow - 1
        while k >= 0 and texts[k] in QUALIFIERS:
            k -= 1
    closes = texts[k] if k >= 0 else ""
    top_level = []
    depth = 0
    for j, t in enumerate(texts):
        if t in ("(", "[", "{"):
            depth += 1
        elif t in (")", "]", "}"):
            depth -= 1
        elif depth == 0:
            top_level.append((j, t))
    assigned = any(t == "=" and (j == 0 or texts[j - 1] != "operator") for j, t in top_level)
    if closes == "]" or (closes == ")" and assigned):
        return "lambda"
    if closes == ")":
        if texts[0] in ("class", "struct", "union", "enum"):
            first_colon = next((j for j, t in top_level if t == ":"), None)
            first_paren = texts.index("(")
            if first_colon is not None and first_colon < first_paren:
                return "scope"
        # A constructor's initializer list ends in ')' too: the head still names the function first.
        return "function"
    if closes == "}" and not assigned:
        # A constructor whose last member is initialized with braces: `X() : a(1), b{2} {`.
        colon = next((j for j, t in top_level if t == ":"), None)
        if colon is not None and colon > 0 and texts[colon - 1] == ")":
            return "function"
    if texts[0] in ("namespace", "extern") or (texts[0] in ("class", "struct", "union") and not assigned):
        return "scope"
    if texts[0] == "template" and any(t in ("class", "struct", "union") for _, t in top_level[1:]) and \
            not assigned and "(" not in texts:
        return "scope"
    return "data"


def function_name(toks, head):
    texts = [toks[k][1] for k in head]
    angle = 0
    for j, t in enumerate(texts):
        before = texts[j - 1] if j > 0 else ""
        if t == "<" and before != "operator" and re.match(r"\w", before):
            angle += 1
        elif t == ">" and angle > 0:
            angle -= 1
        elif t == "(" and angle == 0 and j > 0 and before not in NOT_NAMES:
            start = j - 1
            operator = [o for o in range(max(0, j - 3), j) if texts[o] == "operator"]
            suffix = "()" if before == "operator" else ""
            if operator:
                start = operator[0]
            while start >= 2 and texts[start - 1] == "::":
                start -= 2
            if start >= 1 and texts[start - 1] == "~":
                start -= 1
            return "".join(texts[start:j]) + suffix
    return "?"


def lambda_name(toks, head):
    texts = [toks[k][1] for k in head]
    eq = next((j for j, t in enumerate(texts) if t == "="), None)
    if eq is not None and eq > 0 and re.match(r"[A-Za-z_]", texts[eq - 1]):
        return f"the lambda {texts[eq - 1]}"
    return "a lambda"


def functions(toks):
    """(name, first line, last line) of every function body outside other function bodies."""
    partner = match_brackets(toks)
    found = []

    def walk(begin, end, scope):
        # `scope` is "scope" (file, namespace, class, linkage block) or "data" (an initializer's braces).
        head = []  # the tokens since the last declaration or entry ended
        k = begin
        while k < end:
            tok_kind, text, line = toks[k]
            if tok_kind == "punct" and text in ("(", "["):
                head.extend(range(k, partner[k] + 1))
                k = partner[k] + 1
                continue
            if tok_kind == "punct" and text == "{":
                close = partner[k]
                what = body_kind(toks, partner, head, k)
                if scope == "data" and what != "lambda":
                    # In an initializer a body after ')' or ']' is a lambda's; every other brace is data.
                    last = toks[head[-1]][1] if head else ""
                    what = "lambda" if last in (")", "]", "mutable") or what == "function" else "data"
                if what == "function":
                    found.append((function_name(toks, head), toks[head[0]][2], toks[close][2]))
                elif what == "lambda":
                    intro = next((h for h in reversed(head) if toks[h][1] == "[" and partner[h] > h), None)
                    first = toks[intro][2] if intro is not None else line
                    found.append((lambda_name(toks, head), first, toks[close][2]))
                else:
                    walk(k + 1, close, "scope" if what == "scope" else "data")
                k = close + 1
                # A class body or a namespace ends its declaration; an initializer goes on to its ';'.
                head = head + [k - 1] if what == "data" and scope == "scope" else []
                continue
            if text in (";", ",") and tok_kind == "punct" and (scope == "data" or text == ";"):
                head = []
            elif scope == "scope" and text == ":" and len(head) == 1 and toks[head[0]][1] in ACCESS:
                head = []
            else:
                head.append(k)
            k += 1

    walk(0, len(toks), "scope")
    return found


long_ones, stale, errors, count = [], [], [], 0
for path in files:
    try:
        with open(path, encoding="utf-8") as source:
            text = source.read()
        lines = text.split("\n")
        found = functions(tokens(text))
    except (ParseError, KeyError, ValueError, IndexError) as problem:
        errors.append(f"{path}: cannot be read as C++: {problem}")
        continue
    for name, first, last in found:
        count += 1
        length = last - first + 1
        # The comment block just above the declaration (a template line may stand between).
        reason = None
        j = first - 2
        while j >= 0 and lines[j].lstrip().startswith("template"):
            j -= 1
        while j >= 0 and lines[j].lstrip().startswith("//"):
            if REASON.match(lines[j]):
                reason = lines[j].strip()
            j -= 1
        if length > LIMIT:
            long_ones.append((length, path, first, name, reason))
        elif reason is not None:
            stale.append(f"{path}:{first}: {name} is {length} lines, yet its comment says why it is long")

long_ones.sort(key=lambda f: (-f[0], f[1], f[2]))
unexplained = [f for f in long_ones if f[4] is None]
for length, path, first, name, reason in long_ones:
    if reason is None or list_all:
        print(f"{path}:{first}: {name} is {length} lines" + (f" ({reason})" if reason else ""))
for line in stale + errors:
    print(line)
if unexplained or stale or errors:
    print(f"check-function-length: {len(unexplained)} of {count} functions are over {LIMIT} lines without a "
          f"stated reason; {len(stale)} stated reasons on functions that are not long; {len(errors)} files "
          f"unread", file=sys.stderr)
    sys.exit(1)
print(f"check-function-length: {count} functions in {len(files)} files, none over {LIMIT} lines without a "
      f"stated reason ({len(long_ones)} with one)")
PYTHON
