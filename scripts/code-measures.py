#!/usr/bin/env python3
"""code-measures.py [SRC_DIR] [--max-file N] [--max-function N]: lists source files longer than
N lines and functions longer than N lines (a brace-matching reading of C++, enough for our own
code: strings, characters and comments are skipped). Exits 1 when anything is over."""
import os, re, sys

def strip(text):
    # Blank out comments, string and character literals, keeping line breaks.
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i); j = n if j < 0 else j
            out.append(' ' * (j - i)); i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2); j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j])); i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            end = text.find(')' + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j])); i = j
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(' ' * (j + 1 - i)); i = j + 1
        else:
            out.append(c); i += 1
    return ''.join(out)

HEAD = re.compile(r'^\s*(namespace|class|struct|enum|union|extern)\b')

def functions(path):
    text = strip(open(path, encoding='utf-8', errors='replace').read())
    stack, start, found = [], 0, []   # stack of (kind, line of opening)
    line, head = 1, ''
    for ch in text:
        if ch == '\n':
            line += 1; head += ' '; continue
        if ch == '{':
            inside_function = any(k == 'f' for k, _, _ in stack)
            h = head.strip()
            if not inside_function and '(' in h and not HEAD.match(h) and not h.endswith('='):
                # The signature starts where its text started.
                sig = re.sub(r'\s+', ' ', h)[-80:]
                stack.append(('f', head_line, sig))
            else:
                stack.append(('b', line, ''))
            head = ''; head_line = line; continue
        if ch == '}':
            if stack:
                kind, first, sig = stack.pop()
                if kind == 'f':
                    found.append((line - first + 1, first, sig))
            head = ''; head_line = line; continue
        if ch == ';':
            if not any(k == 'f' for k, _, _ in stack):
                head = ''; head_line = line
            continue
        if not head.strip() and not ch.isspace():
            head_line = line
        head += ch
    return found

def main():
    args = sys.argv[1:]
    limit_file, limit_fn, root = 500, 120, 'src'
    while args:
        a = args.pop(0)
        if a == '--max-file': limit_file = int(args.pop(0))
        elif a == '--max-function': limit_fn = int(args.pop(0))
        else: root = a
    over = 0
    longest = []
    for d, _, files in os.walk(root):
        for f in sorted(files):
            if not f.endswith(('.cpp', '.h')): continue
            p = os.path.join(d, f)
            n = sum(1 for _ in open(p, encoding='utf-8', errors='replace'))
            if n > limit_file:
                print(f'file {p}: {n} lines'); over += 1
            for length, first, sig in functions(p):
                longest.append((length, p, first, sig))
                if length > limit_fn:
                    print(f'function {p}:{first}: {length} lines: {sig}'); over += 1
    longest.sort(reverse=True)
    print(f'{over} over the limits (files {limit_file}, functions {limit_fn} lines); '
          f'longest function {longest[0][0]} lines ({longest[0][1]}:{longest[0][2]})' if longest else '')
    return 1 if over else 0

sys.exit(main())
