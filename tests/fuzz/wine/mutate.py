#!/usr/bin/env python3
"""Mutated feeds and settings files for scripts/fuzz-wine.

    mutate.py feeds|settings SEED FIRST COUNT FOLDER

writes FOLDER/<n>.xml for n = FIRST ... FIRST+COUNT-1 and prints one line per document:
"<n> <bytes> <mutations>". Document n depends only on the kind, SEED and n, so any one
can be made again alone. Feeds start from the fixtures (RSS, RDF, site lists and the
odd ones) and a generated feed of many items; settings files from the site list fixture
and generated ones. Each document gets one to three mutations: byte and bit flips,
truncation, splices with another seed, deleted, repeated or swapped lines, deep
nesting, huge text, many items, odd or wrong encodings, broken UTF-8, control
characters (raw and as references), internal entities, stray markup, renamed tags,
zero bytes, hostile DOCTYPEs, and for settings odd numbers. The hostile DOCTYPEs
(`doctype`) combine internal and external entities, parameter entities, nested
references, HTML entity names, external DTDs and the billion-laughs and quadratic
shapes; what is external names a port where nothing listens or a local file, so a
reader that wrongly resolved it would fail or show the file's text, never reach out.
"""
import os
import random
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
FIXTURES = os.path.join(ROOT, "tests", "fixtures")


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def settings_file(rng, sites, upper=False):
    def el(name, text, indent):
        tag = name.upper() if upper else name
        return "%s<%s>%s</%s>\r\n" % (" " * indent, tag, escape(text), tag)
    out = "<?xml version='1.0' encoding='UTF-8' ?>\r\n<kvtini>\r\n"
    out += el("disp_header_title", str(rng.randint(0, 1)), 2) + el("disp_header_date", str(rng.randint(0, 1)), 2)
    out += el("disp_interval", str(rng.randint(1, 99)), 2) + el("load_interval", str(rng.randint(1, 999)), 2)
    out += el("font_face", rng.choice(["ＭＳ Ｐゴシック", "ＭＳ ゴシック", "IPAゴシック", ""]), 2)
    for i in range(sites):
        out += "  <site>\r\n"
        out += el("title", rng.choice(["ニュース %d", "Site %d", "速報 \"%d\" & <b>", ""]).replace("%d", str(i)), 4)
        out += el("link", "http://127.0.0.1/feeds/%d.xml" % i, 4)
        out += el("description", rng.choice(["説明", "desc 'q'", "", "ｱｲｳ"]), 4)
        out += el("check", str(rng.randint(0, 1)), 4) + "  </site>\r\n"
    return (out + "</kvtini>\r\n").encode("utf-8")


def many_items_feed(count):
    items = "".join("<item><title>記事 %d</title><link>http://127.0.0.1/n/%d</link></item>\n" % (i, i)
                    for i in range(count))
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel><title>多い</title>"
            "<link>http://127.0.0.1/</link><description>many</description>\n%s</channel></rss>\n" % items).encode()


def seeds(kind):
    rng = random.Random(1)
    if kind == "feeds":
        found = []
        for name in sorted(os.listdir(FIXTURES)):
            with open(os.path.join(FIXTURES, name), "rb") as f:
                found.append(f.read())
        return found + [many_items_feed(200)]
    with open(os.path.join(FIXTURES, "site_list.xml"), "rb") as f:
        found = [f.read()]
    return found + [settings_file(rng, n) for n in (0, 1, 3, 12, 60)] + [settings_file(rng, 4, upper=True)]


# Each mutation takes the document (bytes), the random generator and the seeds.

def flip(doc, rng, _):
    doc = bytearray(doc)
    for _ in range(rng.randint(1, 16)):
        if doc:
            doc[rng.randrange(len(doc))] = rng.randrange(256)
    return bytes(doc)


def bitflip(doc, rng, _):
    doc = bytearray(doc)
    for _ in range(rng.randint(1, 8)):
        if doc:
            doc[rng.randrange(len(doc))] ^= 1 << rng.randrange(8)
    return bytes(doc)


def truncate(doc, rng, _):
    return doc[:rng.randrange(len(doc) + 1)]


def splice(doc, rng, all_seeds):
    other = rng.choice(all_seeds)
    return doc[:rng.randrange(len(doc) + 1)] + other[rng.randrange(len(other) + 1):]


def lines(doc, rng, _):
    parts = doc.split(b"\n")
    i, j = rng.randrange(len(parts)), rng.randrange(len(parts))
    choice = rng.randrange(3)
    if choice == 0:
        del parts[i]
    elif choice == 1:
        parts[i:i] = [parts[j]] * rng.randint(1, 50)
    else:
        parts[i], parts[j] = parts[j], parts[i]
    return b"\n".join(parts)


def insert_at_element(doc, rng, piece):
    """`piece` after the end of a tag at a random place inside the root element (when
    one can be found), so that text and elements land where they are allowed."""
    start = 0
    while True:
        start = doc.find(b"<", start)
        if start < 0 or doc[start + 1:start + 2].isalpha():
            break
        start += 1
    low = doc.find(b">", start) if start >= 0 else 0
    high = doc.rfind(b"</")
    if low < 0 or high <= low:
        low, high = 0, len(doc)
    at = doc.find(b">", rng.randrange(low, high + 1))
    if at < 0 or at >= high:
        at = low
    return doc[:at + 1] + piece + doc[at + 1:]


# The costly ones: one time in ten they go to the extreme (tens of megabytes, or
# nesting far beyond any parser's limit), else they stay within a few megabytes.
def extreme(rng, usual, far):
    return rng.choice(far) if rng.randrange(10) == 0 else rng.choice(usual)


def nest(doc, rng, _):
    depth = extreme(rng, [30, 250, 300, 3000], [30000, 300000])
    tag = rng.choice([b"a", b"item", b"channel", b"title", b"site"])
    return insert_at_element(doc, rng, (b"<" + tag + b">") * depth + b"x" + (b"</" + tag + b">") * depth)


def huge_text(doc, rng, _):
    size = extreme(rng, [1 << 12, 1 << 16, 1 << 18, 1 << 20], [1 << 23, 1 << 24])
    unit = rng.choice([b"A", "漢".encode(), b"&amp;", b"&#x3042;", b" ", b"\xef\xbd\xb1"])
    return insert_at_element(doc, rng, unit * (size // len(unit)))


def many_items(doc, rng, _):
    found = re.search(rb"<item[ >].*?</item>", doc, re.S)
    item = found.group(0) if found else b"<item><title>t</title><link>l</link></item>"
    return insert_at_element(doc, rng, item * extreme(rng, [10, 100, 1000, 5000], [20000, 100000]))


ENCODINGS = [b"Shift_JIS", b"EUC-JP", b"ISO-2022-JP", b"UTF-16", b"UTF-16LE", b"ISO-8859-1", b"windows-1252",
             b"US-ASCII", b"x-bogus", b"", b"UTF-32", b"utf-8 ", b"GB2312"]


def encoding(doc, rng, _):
    choice = rng.randrange(6)
    if choice == 0:  # another declared encoding, the same bytes
        end = doc.find(b"?>")
        decl = b"<?xml version=\"1.0\" encoding=\"" + rng.choice(ENCODINGS) + b"\"?>"
        return decl + (doc[end + 2:] if doc.startswith(b"<?xml") and end >= 0 else doc)
    if choice == 1:  # no declaration
        end = doc.find(b"?>")
        return doc[end + 2:] if end >= 0 else doc
    text = doc.decode("utf-8", "replace")
    if choice == 2:  # really UTF-16, with or without a byte-order mark, declared or not
        codec = rng.choice(["utf-16-le", "utf-16-be", "utf-16"])
        return text.encode(codec, "replace")
    if choice == 3:  # a byte-order mark, right or wrong
        return rng.choice([b"\xef\xbb\xbf", b"\xff\xfe", b"\xfe\xff", b"\xef\xbb", b"\x00\x00\xfe\xff"]) + doc
    if choice == 4:  # really Shift_JIS or EUC-JP, as declared or not
        codec = rng.choice(["cp932", "euc_jp"])
        return text.encode(codec, "replace")
    return text.encode("latin-1", "replace")


def bad_utf8(doc, rng, _):
    for _ in range(rng.randint(1, 5)):
        doc = insert_at_element(doc, rng, rng.choice([b"\xff", b"\xc0\x80", b"\xed\xa0\x80", b"\xe3\x81", b"\xf4\x90\x80\x80",
                                                       b"\x80", b"\xef\xbf\xbe", b"\xf0\x9f\x98"]))
    return doc


def control(doc, rng, _):
    for _ in range(rng.randint(1, 5)):
        doc = insert_at_element(doc, rng, rng.choice([
            b"\x01", b"\x1f", b"\x0b", b"\x7f", b"\r", b"\t", b"&#1;", b"&#x1F;", b"&#0;", b"&#xFFFE;", b"&#xD800;",
            b"&#1114112;", b"&#99999999999;", b"&#13;", b"&#x85;", b"&#xFEFF;", b"&#x10FFFF;", b"&#;", b"&#x;"]))
    return doc


def entities(doc, rng, _):
    start = doc.find(b"<", doc.find(b"?>") + 2 if doc.startswith(b"<?xml") else 0)
    root = doc[start + 1:].split(b">")[0].split(b" ")[0] or b"r"
    choice = rng.randrange(4)
    if choice == 0:
        subset, use = b"<!ENTITY e \"entity text &amp; more\">", b"&e;"
    elif choice == 1:
        subset, use = b"<!ENTITY a \"&a;\">", b"&a;"  # refers to itself
    elif choice == 2:  # a hundred thousand copies, ten at each of five levels
        subset = b"<!ENTITY l0 \"lol\">" + b"".join(
            b"<!ENTITY l%d \"%s\">" % (i, b"&l%d;" % (i - 1) * 10) for i in range(1, 6))
        use = b"&l5;"
    else:
        subset, use = b"<!ENTITY u \"&#1;\">", b"&u;&undefined;"
    doc = insert_at_element(doc, rng, use)
    return doc[:start] + b"<!DOCTYPE " + root + b" [" + subset + b"]>\n" + doc[start:]


EXTERNAL = [b"http://127.0.0.1:9/x.dtd", b"file:///C:/windows/win.ini", b"C:\\windows\\win.ini"]


def doctype(doc, rng, _):
    """A DOCTYPE that attacks its reader, with references to its entities in the text."""
    start = doc.find(b"<", doc.find(b"?>") + 2 if doc.startswith(b"<?xml") else 0)
    root = doc[start + 1:].split(b">")[0].split(b" ")[0] or b"r"
    decls, uses = [], []
    for _ in range(rng.randint(1, 5)):
        choice = rng.randrange(9)
        name = b"e%d" % len(decls)
        if choice == 0:  # one character, as text or as a reference
            value = rng.choice([b"x", b"&#x263A;", b"&#233;", "漢".encode(), b"\r\n"])
            decls.append(b"<!ENTITY %s \"%s\">" % (name, value))
        elif choice == 1:  # external
            decls.append(b"<!ENTITY %s SYSTEM \"%s\">" % (name, rng.choice(EXTERNAL)))
        elif choice == 2:  # a parameter entity, internal or external, and its use
            decls.append(rng.choice([b"<!ENTITY %% p%d \"<!ENTITY %s 'pe'>\">" % (len(decls), name),
                                     b"<!ENTITY %% p%d SYSTEM \"%s\">" % (len(decls), rng.choice(EXTERNAL))]))
            decls.append(b"%%p%d;" % (len(decls) - 1))
        elif choice == 3:  # nested references
            decls.append(b"<!ENTITY %s \"a &e%d; b\">" % (name, max(len(decls) - 1, 0)))
        elif choice == 4:  # billion laughs: ten levels of ten
            decls.append(b"<!ENTITY %s0 \"lol\">" % name + b"".join(
                b"<!ENTITY %s%d \"%s\">" % (name, i, (b"&%s%d;" % (name, i - 1)) * 10) for i in range(1, 10)))
            name += b"9"
        elif choice == 5:  # quadratic: one long entity used many times
            decls.append(b"<!ENTITY %s \"%s\">" % (name, b"x" * extreme(rng, [1000, 50000], [500000])))
            uses.append((b"&%s;" % name) * extreme(rng, [100, 5000], [50000]))
            continue
        elif choice == 6:  # an HTML entity name, declared or not
            uses.append(rng.choice([b"&eacute;", b"&hellip;", b"&nbsp;", b"&Alpha;", b"&bogus;"]))
            continue
        elif choice == 7:  # declarations a reader must skip, with ] and > in literals and comments
            decls.append(b"<!ELEMENT %s ANY><!ATTLIST %s a CDATA \"]>\"><!-- ]> --><?pi ]>?>" % (root, root))
            continue
        else:  # a second DOCTYPE, or one inside a comment, CDATA or a processing instruction
            uses.append(rng.choice([b"<!DOCTYPE x SYSTEM \"%s\">" % rng.choice(EXTERNAL), b"<!-- <!DOCTYPE x> -->",
                                    b"<![CDATA[<!DOCTYPE x>]]>", b"<?pi <!DOCTYPE x>?>"]))
            continue
        uses.append(b"&%s;" % name)
    for use in rng.sample(uses, len(uses)):
        doc = insert_at_element(doc, rng, use)
    external = b" SYSTEM \"%s\"" % rng.choice(EXTERNAL) if rng.randrange(3) == 0 else b""
    return doc[:start] + b"<!DOCTYPE " + root + external + b" [" + b"\n".join(decls) + b"]>\n" + doc[start:]


def markup(doc, rng, _):
    for _ in range(rng.randint(1, 4)):
        doc = insert_at_element(doc, rng, rng.choice([
            b"<![CDATA[ <x> & ]]>", b"<!-- c -->", b"<?pi x?>", b"]]>", b"<", b"&", b"&amp", b"</title>", b"<title>",
            b"<dc:title xmlns:dc=\"urn:x\">dc</dc:title>", b"<title a=\"1\" a=\"2\">", b"<item/>", b"<link/>",
            b"<TITLE>upper</TITLE>", b"<channel><title>inner</title></channel>", b"<x:y:z>", b"<1a>"]))
    return doc


def rename(doc, rng, _):
    names = [b"title", b"link", b"item", b"channel", b"rss", b"site", b"kvtini", b"check", b"description", b"RDF"]
    old, new = rng.choice(names), rng.choice(names + [b"TITLE", b"Item", b"x", b"", b"rdf:RDF"])
    if rng.randrange(2):  # start and end tags alike
        return doc.replace(b"<" + old + b">", b"<" + new + b">").replace(b"</" + old + b">", b"</" + new + b">")
    return doc.replace(b"<" + old, b"<" + new, rng.randint(1, 3))


# Mutations that keep a well-formed document well-formed, so that the readers get past
# the parser and meet odd but proper documents.

def proper_text(doc, rng, _):
    return insert_at_element(doc, rng, rng.choice([
        b"&#x85;", b"&#xFEFF;", b"&#x10FFFF;", b"&#13;", b"&#x9;", b"\t", b"\r\n", b"&#x3042;&#x1F600;", b"&lt;&gt;",
        b"<![CDATA[ <x> & ]]>", b"<!-- c -->", b"<?pi x?>", b"<dc:title xmlns:dc=\"urn:x\">dc</dc:title>",
        b"<TITLE>upper</TITLE>", b"<item/>", b"<link/>", b"<title/>", b"<channel><title>inner</title></channel>",
        b"<item><title>extra</title><link>javascript:alert(1)</link></item>", "ｱｲｳ　全角".encode()]))


def proper_entities(doc, rng, all_seeds):
    start = doc.find(b"<", doc.find(b"?>") + 2 if doc.startswith(b"<?xml") else 0)
    root = doc[start + 1:].split(b">")[0].split(b" ")[0] or b"r"
    subset = b"<!ENTITY e \"entity &#x3042; text\"><!ENTITY l0 \"lol\">" + b"".join(
        b"<!ENTITY l%d \"%s\">" % (i, b"&l%d;" % (i - 1) * 10) for i in range(1, 5))
    doc = insert_at_element(doc, rng, rng.choice([b"&e;", b"&l4;", b"&e;&e;"]))
    return doc[:start] + b"<!DOCTYPE " + root + b" [" + subset + b"]>\n" + doc[start:]


def reencode(doc, rng, _):
    if rng.randrange(2):
        return b"\xef\xbb\xbf" + doc  # a UTF-8 byte-order mark
    # UTF-16 with its byte-order mark, declared as such.
    text = doc.decode("utf-8", "replace").replace("encoding=\"UTF-8\"", "encoding=\"UTF-16\"")
    return text.replace("encoding='UTF-8'", "encoding='UTF-16'").encode("utf-16")


def zeros(doc, rng, _):
    return insert_at_element(doc, rng, b"\x00" * rng.randint(1, 4))


def numbers(doc, rng, _):
    fields = [b"disp_interval", b"load_interval", b"check", b"disp_header_title", b"disp_header_date"]
    name = rng.choice(fields)
    start = doc.find(b"<" + name + b">")
    if start < 0:
        return doc
    end = doc.find(b"</", start)
    value = rng.choice([b"2147483648", b"-2147483649", b"99999999999999999999", b" 7", b"0x10", b"", b"-0", b"+5",
                        b"\xef\xbc\x91", b"1e3", b"  -12abc", b"&#x31;"])
    return doc[:start + len(name) + 2] + value + doc[end:]


MUTATIONS = [flip, bitflip, truncate, splice, lines, nest, huge_text, many_items, encoding, bad_utf8, control,
             entities, doctype, markup, rename, zeros]
# The costly ones are drawn less often.
WEIGHTS = [12, 8, 6, 6, 6, 1, 1, 1, 6, 6, 8, 4, 8, 6, 4, 4]
PROPER = [nest, huge_text, many_items, proper_text, proper_entities, reencode]
PROPER_WEIGHTS = [1, 1, 1, 12, 4, 3]


def make(kind, seed, n, all_seeds):
    rng = random.Random("%s:%s:%d" % (kind, seed, n))
    doc = rng.choice(all_seeds)
    if rng.randrange(10) < 4:  # well-formed mutations only
        mutations, weights = PROPER, PROPER_WEIGHTS
    else:
        mutations = MUTATIONS + PROPER + ([numbers] if kind == "settings" else [])
        weights = WEIGHTS + PROPER_WEIGHTS + ([8] if kind == "settings" else [])
    applied = []
    for mutation in rng.choices(mutations, weights, k=rng.randint(1, 3)):
        doc = mutation(doc, rng, all_seeds)
        applied.append(mutation.__name__)
        if len(doc) > (32 << 20):  # stacked growth: keep it within reason
            doc = doc[:32 << 20]
    return doc, applied


def main():
    kind, seed, first, count, folder = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5]
    all_seeds = seeds(kind)
    os.makedirs(folder, exist_ok=True)
    for n in range(first, first + count):
        doc, applied = make(kind, seed, n, all_seeds)
        with open(os.path.join(folder, "%d.xml" % n), "wb") as f:
            f.write(doc)
        print(n, len(doc), "+".join(applied))


if __name__ == "__main__":
    main()
