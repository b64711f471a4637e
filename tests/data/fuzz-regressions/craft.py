#!/usr/bin/env python3
"""Writes the hand-made inputs of the fuzz regression folders (the "crafted-*" files): damaged
and hostile inputs for each target, made from scratch, not from any sample. Inputs that a fuzzer
found are kept beside them under their own names. Run from this folder: python3 craft.py"""

import json
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGIC = 0xFADFADBA
END, FREE, FATSECT = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD


def put(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    if isinstance(data, str):
        data = data.encode("utf-8")
    with open(os.path.join(HERE, target, "crafted-" + name), "wb") as f:
        f.write(data)


# --- compound files -------------------------------------------------------------------------

def dirent(name, kind, left=FREE, right=FREE, child=FREE, start=END, size=0):
    units = name.encode("utf-16-le") + b"\0\0"
    e = units.ljust(64, b"\0") + struct.pack("<HBB", len(units), kind, 1)
    e += struct.pack("<III", left, right, child) + b"\0" * 36
    e += struct.pack("<III", start, size, 0)
    assert len(e) == 128
    return e


def cfb(entries, streams, fat_patch=None, header_patch=None, minifat_patch=None):
    """entries: directory entries (bytes), entry 0 the root; streams: {entry index: data}.
    Streams under 4096 bytes go to the mini stream, the others to big sectors. The patches get
    the tables (and the big chains by entry) before they are written. Returns the file."""
    size, mini = 512, 64
    small = {i: d for i, d in streams.items() if len(d) < 4096}
    big = {i: d for i, d in streams.items() if len(d) >= 4096}
    ministream, minifat, starts = b"", [], {}
    for index, data in small.items():
        count = max(1, (len(data) + mini - 1) // mini)
        starts[index] = len(minifat)
        for i in range(count):
            minifat.append(len(minifat) + 1 if i + 1 < count else END)
        ministream += data.ljust(count * mini, b"\0")
    minifat += [FREE] * (128 - len(minifat))
    sectors, chains = [], {}
    def place(index, data):
        first = len(sectors) + 3  # sectors 0, 1, 2: FAT, directory, mini FAT
        count = max(1, (len(data) + size - 1) // size)
        chains[index] = (first, count)
        for i in range(count):
            sectors.append(data[i * size:(i + 1) * size].ljust(size, b"\0"))
    place(0, ministream)
    for index, data in big.items():
        place(index, data)
    entries = list(entries)
    for index in range(len(entries)):
        e = bytearray(entries[index])
        if index in chains:
            struct.pack_into("<I", e, 116, chains[index][0])
        elif index in starts:
            struct.pack_into("<I", e, 116, starts[index])
        if index == 0:
            struct.pack_into("<I", e, 120, len(ministream))
        entries[index] = bytes(e)
    directory = b"".join(entries).ljust(size, b"\0")[:size]
    fat = [FATSECT, END, END]
    for first, count in chains.values():
        for i in range(count):
            fat.append(first + i + 1 if i + 1 < count else END)
    fat += [FREE] * (128 - len(fat))
    if fat_patch:
        fat_patch(fat, chains)
    if minifat_patch:
        minifat_patch(minifat, starts)
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 0x18, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<IIIIIIII", header, 0x2C, 1, 1, 0, 4096, 2, 1, END, 0)
    struct.pack_into("<I", header, 0x4C, 0)
    for i in range(1, 109):
        struct.pack_into("<I", header, 0x4C + 4 * i, FREE)
    if header_patch:
        header_patch(header)
    return (bytes(header) + struct.pack("<128I", *fat) + directory
            + struct.pack("<128I", *minifat) + b"".join(sectors))


def cfb_inputs():
    plain = [dirent("Root Entry", 5, child=1), dirent("A", 1, right=2, child=3),
             dirent("C", 2, size=5000), dirent("B", 2, size=100)]
    streams = {2: b"x" * 5000, 3: bytes(range(100))}
    yield "plain.cfb", cfb(plain, streams)
    yield "header-only.cfb", cfb(plain, streams)[:512]
    yield "cut-in-directory.cfb", cfb(plain, streams)[:1024 + 200]
    yield "cut-in-stream.cfb", cfb(plain, streams)[:-3000]
    # Chains that run into themselves or leave the file, in both tables.
    def loop(fat, chains):
        first, count = chains[2]
        fat[first + 3] = first + 1
    yield "chain-loop.cfb", cfb(plain, streams, fat_patch=loop)
    yield "chain-out.cfb", cfb(plain, streams,
                               fat_patch=lambda fat, chains: fat.__setitem__(chains[2][0], 90000))
    yield "mini-chain-loop.cfb", cfb(plain, streams,
                                     minifat_patch=lambda m, starts: m.__setitem__(starts[3] + 1, starts[3]))
    yield "mini-chain-out.cfb", cfb(plain, streams,
                                    minifat_patch=lambda m, starts: m.__setitem__(starts[3], 70000))
    yield "mini-container-short.cfb", cfb(plain, streams,
                                          fat_patch=lambda fat, chains: fat.__setitem__(chains[0][0], END))
    # A storage that is its own child, siblings in a cycle, the root as someone's sibling.
    looped = [dirent("Root Entry", 5, child=1), dirent("A", 1, left=2, right=2, child=1),
              dirent("C", 2, left=1, right=3, size=5000), dirent("B", 2, right=0, child=2, size=100)]
    yield "directory-cycles.cfb", cfb(looped, streams)
    # Sizes far past the file, names with separators and empty names.
    huge = [dirent("Root Entry", 5, child=1), dirent("A/B", 1, right=2, child=3),
            dirent("C", 2, size=0xFFFFFFFF), dirent("", 2, size=4095)]
    yield "huge-sizes.cfb", cfb(huge, streams)
    yield "mini-cutoff-odd.cfb", cfb(plain, streams,
                                     header_patch=lambda h: struct.pack_into("<I", h, 0x38, 0xFFFFFFFF))
    yield "shift-31.cfb", cfb(plain, streams,
                              header_patch=lambda h: struct.pack_into("<HH", h, 0x1E, 31, 31))
    yield "fat-count-huge.cfb", cfb(plain, streams, header_patch=lambda h: (
        struct.pack_into("<I", h, 0x2C, 0x7FFFFFFF), struct.pack_into("<II", h, 0x44, 1, 1000)))
    yield "difat-loop.cfb", cfb(plain, streams, header_patch=lambda h: (
        struct.pack_into("<I", h, 0x2C, 300), struct.pack_into("<II", h, 0x44, 0, 5)))


# --- blocks (the input format of fuzz/blockinput.h) --------------------------------------------

def blocks(parser, layout, *parts):
    out = bytes([parser + 6 * layout])
    for i, part in enumerate(parts):
        if i + 1 < len(parts):
            out += struct.pack("<H", len(part))
        out += part
    return out


def meta(count, items=b"", pad=b""):
    return struct.pack("<IIII", MAGIC, 0, count, 0) + items + pad


def var_meta(count, items, layout_key=False):
    return struct.pack("<IIIIII", MAGIC, 0, count, 0, 0, 0) + items


def field_item(field_id, offset, category=0, size=4, key=0):
    return struct.pack("<IHBBIIIHHI", 0, offset, key, 0, 0, field_id, 0, category, size, 0)


def block_inputs():
    # Props: more items than the stream holds, a size past the end, odd sizes.
    props = struct.pack("<IIIHH", 0, 0, 0, 500, 0)
    props += struct.pack("<III", 0xFFFFFFF0, 0x20014, 0) + b"ab"
    yield "props-size-past-end", blocks(0, 0, props)
    odd = struct.pack("<IIIHH", 0, 0, 0, 3, 0)
    odd += struct.pack("<III", 3, 1, 0) + b"abc" + struct.pack("<III", 1, 2, 0) + b"z"
    yield "props-odd-sizes", blocks(0, 0, odd)
    yield "props-short", blocks(0, 0, b"\x01" * 15)
    # FixedMeta: counts no stream could hold, an item size that does not divide, a flipped magic.
    yield "fixedmeta-count-huge", blocks(1, 0, meta(0xFFFFFFFF, b"\x01" * 40))
    yield "fixedmeta-count-int-max", blocks(1, 3, meta(0x7FFFFFFF, b"\x01" * 13))
    yield "fixedmeta-uneven", blocks(1, 1, meta(3, b"\x02" * 100))
    yield "fixedmeta-magic-flipped", blocks(1, 0, struct.pack("<IIII", MAGIC ^ 1, 0, 1, 0) + b"x" * 47)
    yield "fixedmeta-header-cut", blocks(1, 0, meta(2)[:11])
    # FixedData: starts before, at and past the stream end, repeated, items too short for one.
    starts = b"".join(struct.pack("<Ii", 0, s) + b"\0" * 39
                      for s in (-1, 0, 0, 8, 0x7FFFFFFF, 16, 15))
    yield "fixeddata-starts", blocks(2, 0, meta(7, starts), b"D" * 16)
    yield "fixeddata-items-short", blocks(2, 2 * 9, meta(4, b"\0" * 16), b"D" * 40)
    yield "fixeddata-split-one", blocks(2, 1 + 2 * 12, b"", b"D" * 7)
    yield "fixeddata-split-zero", blocks(2, 1 + 2 * 13, b"", b"D" * 7)
    # VarMeta: counts past the block, negative offsets, both item layouts.
    yield "varmeta-count-huge", blocks(3, 0, var_meta(0x40000000, b"\x01" * 24))
    yield "varmeta-negative", blocks(3, 1, var_meta(2, struct.pack("<Ii", 5, -8) * 2))
    # Var2Data: offsets into the block's own length field, a length covering itself, the very
    # last bytes, and offsets past the end.
    def var_items(*pairs):
        return b"".join(struct.pack("<iiI", uid, off, 0x0B400000 + 1) for uid, off in pairs)
    data = struct.pack("<I", 0xFFFFFFFC) + b"abcd"
    yield "vardata-length-covers-itself", blocks(4, 0, var_meta(1, var_items((1, 0))), data)
    data = struct.pack("<I", 4) + b"abcd"
    yield "vardata-offset-inside-value", blocks(4, 0, var_meta(3, var_items((1, 0), (2, 2), (3, 4))), data)
    yield "vardata-offset-last-bytes", blocks(4, 0, var_meta(1, var_items((1, 6))), data)
    yield "vardata-offset-past-end", blocks(4, 0, var_meta(2, var_items((1, 0), (2, 0x7FFFFFF0))), data)
    keyed = b"".join(struct.pack("<Ii", (key << 24) | 7, off) for key, off in ((1, 0), (3, 4)))
    yield "vardata-keyed-self", blocks(4, 1, var_meta(2, keyed), struct.pack("<I", 0) + struct.pack("<I", 0))
    # Field maps: fixed offsets and sizes past every record, offsets that restart again and again
    # (a third and fourth fixed block), flag bits far past the meta items, keyed var data.
    fields = (field_item(0x0B400001, 0xFFFE, size=0xFFFF) + field_item(0x0B400002, 30, size=8)
              + field_item(0x0B400003, 2, size=4) + field_item(0x0B400004, 1, size=2)
              + field_item(0x0B400005, 0, size=4) + field_item(0x0B400006, 0xFFFF, size=4)
              + field_item(0x0B400007, 0xFFF0, category=100) + field_item(0x0B400008, 0, category=11)
              + b"\x01" * 27)
    fmeta = meta(2, struct.pack("<Ii", 0, 0) + b"\0" * 39 + struct.pack("<Ii", 0, 10) + b"\0" * 39)
    fdata = b"F" * 20
    vmeta = var_meta(1, struct.pack("<iiI", 0, 0, 0x0B400006))
    vdata = struct.pack("<I", 2) + b"zz"
    for style in range(3):
        yield "fieldmaps-past-block-%d" % style, blocks(5, style, fields, fmeta, fdata, vmeta, vdata)
    yield "fieldmaps-lengths-past-end", blocks(5, 0, fields[:40]) + b"\xff\xff"


# --- a reader file with damaged blocks in a version directory --------------------------------

def reader_inputs():
    props = struct.pack("<IIIHH", 0, 0, 0, 1, 0)
    fields = field_item(0x0B400001, 0xFFF0, size=0xFFFF) + field_item(0x0B40000F, 0xFFFF)
    props += struct.pack("<III", len(fields), 0x20014, 0) + fields
    tmeta = meta(0x10000, b"\0" * 47)
    vmeta = var_meta(1, struct.pack("<iiI", 1, 0, 0x0B40000F))
    vdata = struct.pack("<I", 0xFFFFFFFF)
    entries = [dirent("Root Entry", 5, child=1), dirent("   114", 1, child=2),
               dirent("Props", 2, right=3, size=len(props)), dirent("TBkndTask", 1, child=4),
               dirent("FixedMeta", 2, right=5, size=len(tmeta)),
               dirent("VarMeta", 2, right=6, size=len(vmeta)),
               dirent("Var2Data", 2, right=7, size=len(vdata)), dirent("FixedData", 2, size=3)]
    yield "mpp14-damaged-blocks.mpp", cfb(entries, {2: props, 4: tmeta, 5: vmeta, 6: vdata, 7: b"abc"})
    for name, data in cfb_inputs():
        if name in ("directory-cycles.cfb", "chain-loop.cfb", "huge-sizes.cfb"):
            yield name, data


# --- notes' rich text ----------------------------------------------------------------------

def rtf_inputs():
    yield "deep-nesting.rtf", "{\\rtf1 " + "{" * 20000 + "x" + "}" * 19990
    yield "unbalanced.rtf", "{\\rtf1 a}}}}}}} b {{{ c \\par"
    yield "unicode-extremes.rtf", ("{\\rtf1\\uc99999999999999999 \\u-99999999999999999999?"
                                   "\\u65536 \\u-1 \\uc0\\u66\\uc1\\u67 ?}")
    yield "cut-escapes.rtf", "{\\rtf1 \\'4"
    yield "cut-control.rtf", "{\\rtf1 \\"
    yield "long-word.rtf", "{\\rtf1 \\" + "a" * 5000 + "9" * 500 + " x}"
    yield "skipped-groups.rtf", "{\\rtf1{\\*\\x{\\fonttbl{\\pict " + "}" * 10 + "text\\bin99999999 tail}"
    yield "binary.rtf", b"{\\rtf1 \x00\xff\x80\x9f\\'ff\\'80\r\n\\\r\\\n}" + bytes(range(256))
    yield "plain-with-nul.rtf", b"plain text\x00hidden"


# --- P6 layout files -------------------------------------------------------------------------

def plf_inputs():
    yield "deep-nesting.plf", "(0||a()(" * 5000
    yield "deep-at-limit.plf", "(0||a()(" * 255 + "))" * 255
    yield "deep-past-limit.plf", "(0||a()(" * 300 + "))" * 300
    yield "unbalanced-close.plf", "(0||Layout()())))))))(((("
    yield "unbalanced-open.plf", "(0||Layout(name|x)(" + "(1||TaskView()(" * 3
    cols = "".join("(%d||task_code(column_title|T|width|%s)())" % (i, w)
                   for i, w in enumerate(["99999999999999999999", "-2147483649", "-5", "x", ""]))
    yield "huge-widths.plf", "(0||Layout()((1||TaskView()((2||Columns()(%s))))))" % cols
    many = "".join("(%d||f%d(width|1)())" % (i, i) for i in range(2000))
    yield "many-columns.plf", "(0||Layout()((1||TaskView()((2||Columns()(%s))))))" % many
    yield "huge-id.plf", "(99999999999999999999999||Layout(a|b|c)((1||TaskView()()))))"
    yield "odd-attributes.plf", "(0||Layout(a|b|c|||||)((1||TaskView(|)((2||Columns()((3||(|)()))))))"
    yield "binary.plf", b"(0||\xff\xfe\x00(|\x80)(\xc3(\x01||\xed\xa0\x80()()))" + bytes(range(256))
    yield "trailing.plf", "(0||Layout()((1||TaskView()((2||Columns()((3||task_code()())))))))(0||b()())"


# --- layout documents (the JSON of RyPDB.db) ------------------------------------------------

def layout_inputs():
    keys = ["columns", "sortby", "filters", "group", "outline", "durationUnit", "bars",
            "barStyles"]
    for kind, value in (("numbers", 5), ("strings", "x"), ("objects", {"a": [1]}),
                        ("arrays", [[1], {"b": None}, -1]), ("nulls", None), ("bools", True)):
        yield "wrong-type-%s.json" % kind, json.dumps({k: value for k in keys})
    yield "huge-arrays.json", json.dumps({
        "columns": ["Activity ID:%d" % i for i in range(1000)],
        "sortby": ["x;A"] * 1000, "group": ["WBS Code;All"] * 1000,
        "barStyles": [{"name": str(i)} for i in range(1000)], "bars": list(range(1000))})
    yield "unknown-columns.json", json.dumps({
        "columns": ["No Such Column:100", ":", "::::", "Start", "Start:abc", "", "Finish:1:2"],
        "sortby": ["No Such Column;D"], "group": ["No Such Column;3", ";", "WBS Code;-7"],
        "filters": {"patterns": {"9999": "a", "-1": "b", "x": "c"},
                    "expressions": {"2147483647": "((", "0": 5}},
        "outline": "No such command", "durationUnit": "Fortnights"})
    yield "negative-widths.json", json.dumps({
        "columns": ["Activity ID:-100", "Activity Name:-2147483648", "Start:0",
                    "Finish:99999999999"]})
    yield "widths-at-int-max.json", json.dumps({
        "columns": ["Activity ID:2147483647", "Activity Name:2147483647", "Start:2147483647",
                    "Finish:1"]})
    hostile_style = {"styleName": "", "bodyColor": "#zzzzzz", "bodyShapeHeight": -100000,
                     "bodyShapeOffset": 2147483647, "startPointShape": "NoSuchShape",
                     "startPointColor": 5, "endPointShape": ["x"], "endPointColor": None,
                     "startDate": "No Such Column", "finishDate": "Start Date",
                     "displayColumns": [{"key": -5, "value": "Start"}, {"key": 99999},
                                        "x", {"key": "y", "value": [1]}],
                     "visible": "maybe"}
    yield "bars-hostile.json", json.dumps({
        "bars": {"timelineFlags": -1}, "barStyles": [hostile_style, 1, "x", None, {}]})
    yield "bar-heights-huge.json", json.dumps({
        "barStyles": [dict(hostile_style, bodyShapeHeight=2147483647, bodyShapeOffset=-2147483648,
                           startDate="Start Date", finishDate="Finish Date")]})
    yield "not-an-object.json", "[1, 2, 3]"
    yield "truncated.json", '{"columns": ["Activity ID:100", '
    yield "binary.json", b'{"columns": ["\xff\xfe\x00:1"], "\x80": 1}'
    yield "deep.json", "[" * 20000 + "]" * 20000


TARGETS = {"cfb": cfb_inputs, "blocks": block_inputs, "reader": reader_inputs,
           "rtf": rtf_inputs, "plf": plf_inputs, "layout": layout_inputs}


def main():
    for target, inputs in TARGETS.items():
        for name, data in inputs():
            put(target, name, data)


if __name__ == "__main__":
    main()
