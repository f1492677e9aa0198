#!/usr/bin/env python3
"""Writes the four licence agreements that Pellory.exe carries as resources.

The wording lives in source/*.txt (UTF-8, one paragraph per line, blank lines kept).
Each output is wrapped to fit the agreement box, which does not wrap by itself:
Japanese texts become Shift-JIS (code page 932), the English one ASCII; every line ends
in CR LF and, with its CR LF, is at most 78 bytes (Japanese) or 91 bytes (English). The
English text is wrapped narrower than its limit: the box does not wrap and shows no
horizontal scroll bar, and a line of 89 capitals is wider than the box.
A double-byte character is never split, an ASCII word is kept whole where it fits, and
closing punctuation never starts a line. A numbered item ("（１）", "(a) ", "2.1 ") gets a
hanging indent: its continuation lines start under the item's text.

Usage: res/agreements/make_agreements.py   (rewrites res/agreements/*.txt)
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# name: (encoding, bytes per line including CR LF, wrap width without CR LF, ends with CR LF)
OUTPUTS = {
    "corvane-ja": ("cp932", 78, 76, False),
    "pelmora-ja": ("cp932", 78, 76, True),
    "tessaline-ja": ("cp932", 78, 76, True),
    "corvane-en": ("ascii", 91, 72, False),
}

NO_LINE_START = set("、。，．・：；？！）」』】〕ー゛゜ぁぃぅぇぉっゃゅょァィゥェォッャュョ.,;:!?)]")
NO_LINE_END = set("（「『【〔([")
TOKEN = re.compile(r"[\x21-\x7e]+| +|.")
ITEM = re.compile(r"（[０-９]+）|[１-９]．|\([a-z0-9]+\) |[0-9]+\.[0-9]+ ")


def wrap_paragraph(paragraph, encoding, width):
    size = lambda text: len(text.encode(encoding))
    item = ITEM.match(paragraph)
    # Continuation lines start under the item's text: a full-width blank under each
    # full-width character of the marker, a blank under each narrow one.
    hang = "".join("　" if size(ch) == 2 else " " for ch in item.group(0)) if item else ""
    lines, current = [], []

    def flush():
        text = "".join(current).rstrip(" ")
        lines.append(text)
        current.clear()
        current.append(hang)

    current.append("")
    tokens = TOKEN.findall(paragraph)
    i = 0
    while i < len(tokens):
        token = tokens[i]
        if size("".join(current) + token.rstrip(" ")) <= width:
            if token.strip(" ") or len(current) > 1:
                current.append(token)
            i += 1
            continue
        if token.strip(" ") == "":  # a blank at the break point disappears
            flush()
            i += 1
            continue
        if len(current) == 1:  # a word longer than a line: cut it by characters
            head = ""
            for ch in token:
                if size(current[0] + head + ch) > width:
                    break
                head += ch
            current.append(head)
            tokens[i] = token[len(head):]
            flush()
            continue
        # Keep closing punctuation off the start of the next line and opening brackets off
        # the end of this one by moving the last token down.
        while len(current) > 2 and (token[0] in NO_LINE_START or current[-1][-1] in NO_LINE_END):
            token = current.pop()
            i -= 1
        flush()
    if len(current) > 1 or not lines:
        flush()
    return lines


def render(name):
    encoding, limit, width, final_break = OUTPUTS[name]
    with open(os.path.join(HERE, "source", name + ".txt"), encoding="utf-8") as f:
        paragraphs = f.read().rstrip("\n").split("\n")
    lines = []
    for paragraph in paragraphs:
        lines.extend(wrap_paragraph(paragraph, encoding, width) if paragraph.strip() else [""])
    text = "\r\n".join(lines) + ("\r\n" if final_break else "")
    data = text.encode(encoding)
    for line in data.split(b"\r\n"):
        assert len(line) + 2 <= limit, (name, line)
    return data


def main():
    for name in OUTPUTS:
        data = render(name)
        with open(os.path.join(HERE, name + ".txt"), "wb") as f:
            f.write(data)
        print(f"{name}.txt: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
