#!/usr/bin/env python3
"""velmo-signature's layout measured in display columns, from outside.

Usage: bench/measure_columns.py [BUILD_DIR] [--show NAME]

Runs BUILD_DIR/velmo-signature (default: build) for texts in other scripts
and with wide border units, at the widths 40, 60, 80 and 100, bordered and
plain, and measures every line it prints in display columns, grapheme
cluster by grapheme cluster, with a measure of its own: the clusters are
split here (below) and each is measured with the `wcwidth` module's
`wcswidth` when it is installed, else with `unicodedata`. Prints a Markdown
table: per text, how many columns the right border is off (the widest and
the narrowest framed row against the top border, max/min when they differ),
the same with spacing marks (category Mc) counted as no column, as Velmo
counts them; whether a plain line is longer than width - 1, whether a row starts inside
a cluster, and whether flags keep their pairs. Exit status 1 when any row
is off or any check fails.

--show NAME prints the outputs of the text NAME (a prefix is enough).

The cluster split approximates UAX #29: a cluster goes on over combining
marks (categories Mn, Mc, Me), variation selectors, emoji skin tones, tag
characters and ZWJ with the character after it, and pairs regional
indicators; CR LF is one. It knows nothing of Hangul syllable sequences,
prepended characters or Indic conjuncts, which the texts here do not need.
"""
import os
import subprocess
import sys
import tempfile
import unicodedata

try:
    from wcwidth import wcswidth

    MEASURE = "wcwidth %s" % __import__("wcwidth").__version__
    MARKS_COUNTED = True  # a spacing mark after a letter is a column of its own
except ImportError:  # a rougher measure from the standard library
    MEASURE = "unicodedata %s" % unicodedata.unidata_version
    MARKS_COUNTED = False  # a cluster counts by its first character

    def wcswidth(cluster):
        base = cluster[0]
        if unicodedata.category(base) in ("Mn", "Me", "Cf"):
            return 0
        if unicodedata.east_asian_width(base) in ("W", "F") or ord(base) >= 0x1F000:
            return 2
        return 2 if "\ufe0f" in cluster or "\u200d" in cluster else 1


WIDTHS = (40, 60, 80, 100)
ZWJ = "\u200d"
FLAGS = ("JP", "DE", "FR", "US", "BR")


def regional(c):
    return 0x1F1E6 <= ord(c) <= 0x1F1FF


def flag(code):
    return "".join(chr(0x1F1E6 + ord(letter) - ord("A")) for letter in code)


def continues(c):
    """Whether c never starts a cluster of its own after another character."""
    o = ord(c)
    return (
        unicodedata.category(c) in ("Mn", "Mc", "Me")
        or c == ZWJ
        or 0xFE00 <= o <= 0xFE0F
        or 0x1F3FB <= o <= 0x1F3FF
        or 0xE0020 <= o <= 0xE007F
    )


def clusters(text):
    i = 0
    while i < len(text):
        j = i + 1
        if text[i] == "\r" and text[j : j + 1] == "\n":
            j += 1
        elif regional(text[i]) and j < len(text) and regional(text[j]):
            j += 1
        while j < len(text) and (continues(text[j]) or text[j - 1] == ZWJ):
            j += 1
        yield text[i:j]
        i = j


def columns(text):
    return sum(max(0, wcswidth(c)) for c in clusters(text))


def fullwidth(ascii_text):
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in ascii_text)


FAMILY = "\U0001F468\u200d\U0001F469\u200d\U0001F467"
THUMB = "\U0001F44D"
ASCII_QUOTE = (
    "Wisdom begins in wonder, and the wonder of a plain sentence is that it wraps "
    "where the reader expects it to, line after line, without surprises at the edge"
)

# name: (quotation, fixed text, border unit or None)
TEXTS = {
    "Japanese with spaces": (
        "吾輩は 猫である。 名前は まだ 無い。 どこで 生れたか とんと 見当が つかぬ。 "
        "何でも 薄暗い じめじめした 所で ニャーニャー 泣いていた 事だけは 記憶している。 "
        "吾輩は ここで 始めて 人間という ものを 見た。",
        "Anna Example",
        None,
    ),
    "fullwidth Latin": (fullwidth("The quick brown fox jumps over the lazy dog. ") * 3, "Anna Example", None),
    "tabs": (
        "Name:\tAnna Example\tRoom:\t12\tPhone:\t+49 30 1234567\tDesk:\t4.07\t"
        "Hours:\t9-17\tTeam:\tLayout and wrapping\tFloor:\t4\tBuilding:\tNorth",
        "Anna\tExample",
        None,
    ),
    "combining accents": (
        "Cafe\u0301 re\u0301sume\u0301 de l'e\u0301te\u0301: le the\u0301 a\u0300 la "
        "cre\u0300me, des ide\u0301es ne\u0301es d'un re\u0302ve, "
        "cafe\u0301cafe\u0301cafe\u0301cafe\u0301cafe\u0301cafe\u0301cafe\u0301cafe\u0301"
        "cafe\u0301cafe\u0301cafe\u0301, et la fe\u0302te de No\u0308el a\u0300 la "
        "re\u0301sidence d'e\u0301te\u0301 pre\u0300s du lac.",
        "Anna Example",
        None,
    ),
    "ZWJ family": (
        ("Our family %s says hello %s to yours, " % (FAMILY, FAMILY)) * 3 + FAMILY * 60,
        "Anna Example",
        None,
    ),
    "thumbs up": (("Thanks %s for the help %s%s see you soon %s " % ((THUMB,) * 4)) * 5, "Anna Example", None),
    "Devanagari": (
        "नमस्ते दुनिया यह एक किताब है जिसमें कई कहानियाँ हैं और हर कहानी में एक सीख है। "
        "हिंदी भाषा में लिखी गई यह पंक्ति काफ़ी लंबी है ताकि यह कई पंक्तियों में टूटे।",
        "Anna Example",
        None,
    ),
    "fixed 東京 Example Ltd.": (ASCII_QUOTE, "東京 Example Ltd.", None),
    "Chinese without spaces": (
        "中华人民共和国是工人阶级领导的以工农联盟为基础的人民民主专政的社会主义国家。"
        "社会主义制度是中华人民共和国的根本制度，禁止任何组织或者个人破坏社会主义制度。"
        "国家的一切权力属于人民。",
        "Anna Example",
        None,
    ),
    "Japanese without spaces": (
        "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした"
        "所でニャーニャー泣いていた事だけは記憶している。吾輩はここで始めて人間というものを見た。",
        "Anna Example",
        None,
    ),
    "flags": ("".join(flag(c) for c in FLAGS) * 12 + " " + " ".join(flag(c) for c in FLAGS) * 3, "Anna Example", None),
    "border unit 🌟": (ASCII_QUOTE, "Anna Example", "\U0001F31F"),
    "border unit 〓": (ASCII_QUOTE, "Anna Example", "〓"),
    "border unit é": (ASCII_QUOTE, "Anna Example", "e\u0301"),
}


def run(program, work, quote, fixed, unit, bordered, width):
    """The lines velmo-signature prints for these options."""
    config = os.path.join(work, "config", "Velmo")
    data = os.path.join(work, "data", "Velmo")
    os.makedirs(config, exist_ok=True)
    os.makedirs(data, exist_ok=True)
    # Fixed part first, then the quotation; bottom border a repeat of the
    # top's unit; no separator; right side as the left.
    values = " 5 0 0 1 1 0 0 %d 0 0 0-1 0 0-1 0 0 0 1 1" % (1 if bordered else 0)
    unit = unit or "*"
    reg = (
        'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        '"Program Values"="%s"\r\n"Fixed width"="%d"\r\n"Signature width"="%d"\r\n'
        '"Top text repeat"="%s"\r\n"Bottom text repeat"="%s"\r\n'
        '"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
        '"Variable File"="%s"\r\n' % (values, width, width, unit, unit, os.path.join(work, "quotes.txt"))
    )
    with open(os.path.join(config, "User.reg"), "w", encoding="utf-8", newline="") as f:
        f.write(reg)
    with open(os.path.join(data, "Fixed.fxt"), "w", encoding="utf-8", newline="") as f:
        f.write('"%s"\r\n' % fixed)
    with open(os.path.join(work, "quotes.txt"), "w", encoding="utf-8", newline="") as f:
        f.write('"%s"\r\n' % quote)
    env = dict(
        os.environ,
        HOME=work,
        XDG_CONFIG_HOME=os.path.join(work, "config"),
        XDG_DATA_HOME=os.path.join(work, "data"),
        LANG="C.UTF-8",
    )
    out = subprocess.run([program, "--entry", "1"], env=env, capture_output=True, check=True)
    return out.stdout.decode("utf-8").replace("\r\n", "\n").split("\n")[:-1]


def flags_paired(rows):
    for row in rows:
        run_ = ""
        for c in row + " ":
            if regional(c):
                run_ += c
                continue
            if len(run_) % 2 or any(
                "".join(chr(ord(x) - 0x1F1E6 + ord("A")) for x in run_[k : k + 2]) not in FLAGS
                for k in range(0, len(run_), 2)
            ):
                return False
            run_ = ""
    return True


def starts_inside(rows):
    """Whether a row starts with what goes on the cluster of the row before."""
    return any(
        row and (continues(row[0]) or (k > 0 and rows[k - 1].endswith(ZWJ))) for k, row in enumerate(rows)
    )


def spacing_marks(text):
    return sum(unicodedata.category(c) == "Mc" for c in text) if MARKS_COUNTED else 0


def span(offsets):
    return " / ".join("%+d" % hi if hi == lo else "%+d/%+d" % (hi, lo) for hi, lo in offsets.values()).replace(
        "+0", "0"
    )


def squeezed(text):
    return "".join(text.split())


def measure(program, name, quote, fixed, unit, show=False):
    result = {"off": {}, "marks": {}, "plain_over": [], "inside": False, "paired": True, "kept": True, "bottom": []}
    with tempfile.TemporaryDirectory() as work:
        for width in WIDTHS:
            # Bordered: a blank line, the top border, the framed rows, the bottom border.
            lines = run(program, work, quote, fixed, unit, True, width)
            if show:
                print("--- %s, bordered, width %d" % (name, width))
                print("\n".join(lines))
            top, rows, bottom = lines[1], lines[2:-1], lines[-1]
            border = columns(top)
            offsets = [columns(row) - border for row in rows]
            result["off"][width] = (max(offsets), min(offsets))
            # Spacing marks after a letter (Devanagari's vowel signs, for one)
            # are a column each to wcwidth and to the C library's wcwidth;
            # Velmo counts the cluster by its letter only.
            marks = [offsets[k] - spacing_marks(row) for k, row in enumerate(rows)]
            result["marks"][width] = (max(marks), min(marks))
            if columns(bottom) != border:
                result["bottom"].append("%d: %+d" % (width, columns(bottom) - border))
            inner = [row[2:-2].rstrip(" ") for row in rows]  # "* " and " *" taken off
            plain = run(program, work, quote, fixed, unit, False, width)
            if show:
                print("--- %s, plain, width %d" % (name, width))
                print("\n".join(plain))
            widest = max(columns(line) for line in plain)
            if widest > width - 1:
                marks = max(columns(line) - spacing_marks(line) for line in plain)
                result["plain_over"].append("%d: %d (%d, marks as 0)" % (width, widest, marks))
            for layout in (inner, plain):
                result["inside"] |= starts_inside(layout)
                result["paired"] &= flags_paired(layout)
                result["kept"] &= squeezed("".join(layout)) == squeezed(fixed + quote)
    return result


def main():
    args = sys.argv[1:]
    show = None
    if "--show" in args:
        k = args.index("--show")
        show = args[k + 1]
        del args[k : k + 2]
    program = os.path.join(os.path.abspath(args[0] if args else "build"), "velmo-signature")
    print("Columns off at width %s, measured with %s; 0 is right.\n" % (" / ".join(map(str, WIDTHS)), MEASURE))
    print("| Text | Right border off at %s | The same, spacing marks as 0 | Bottom border off "
          "| Plain line over width - 1 | Row starts inside a cluster | Flags paired | Text kept |"
          % " / ".join(map(str, WIDTHS)))
    print("|---|---|---|---|---|---|---|---|")
    failed = False
    for name, (quote, fixed, unit) in TEXTS.items():
        r = measure(program, name, quote, fixed, unit, show is not None and name.startswith(show))
        bad = (
            any(hi or lo for hi, lo in r["off"].values())
            or r["bottom"]
            or r["plain_over"]
            or r["inside"]
            or not r["paired"]
            or not r["kept"]
        )
        failed |= bool(bad)
        print("| %s | %s | %s | %s | %s | %s | %s | %s |" % (
            name,
            span(r["off"]),
            span(r["marks"]),
            ", ".join(r["bottom"]) or "0",
            ", ".join(r["plain_over"]) or "no",
            "yes" if r["inside"] else "no",
            ("yes" if r["paired"] else "NO") if "flags" in name else "—",
            "yes" if r["kept"] else "NO",
        ))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
