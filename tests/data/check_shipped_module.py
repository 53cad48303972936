#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Decodes sample files with a shipped module through `quarnival-cli decode --json` and
compares the decoded fields with what Python's own libraries and the format's own tools
read from the same files; `quarnival-cli detect` must name the module for each file.

    check_shipped_module.py CLI MODULE_FOLDER FORMAT

Prints every difference and exits with 1 when there is one."""
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

CLI, FOLDER, FORMAT = sys.argv[1:4]
WORK = tempfile.mkdtemp(prefix="qvmod-")
problems = []


def decode(path, module):
    """The file's fields as the module decodes them; detect must find the module for the file first."""
    found = subprocess.run([CLI, "detect", path, "--json"], capture_output=True, text=True)
    formats = json.loads(found.stdout) if found.returncode == 0 else []
    expect(f"{os.path.basename(path)} detected", os.path.basename(formats[0]["module"]) if formats else None, module)
    out = subprocess.run([CLI, "decode", path, os.path.join(FOLDER, module), "--json"],
                         capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def rows(tree):
    """Every field, depth first."""
    for node in tree:
        yield node
        yield from rows(node["children"])


def nodes(tree, name):
    return [node for node in tree if node["name"] == name]


def field(node, name):
    found = [child for child in node["children"] if child["name"] == name]
    if not found:
        raise KeyError(name)
    return found[0]


def number(node):
    """The number a value text starts with ("0x1F ", "300 ", "0x0A141E ")."""
    return int(node["value"].split()[0], 0)


def tool(name):
    """Whether a reference tool is there; a missing one is a problem to report, not a pass."""
    if subprocess.run(["sh", "-c", f"command -v {name}"], capture_output=True).returncode == 0:
        return True
    problems.append(f"{FORMAT}: the reference tool {name} is missing")
    return False


def expect(what, decoded, wanted):
    if decoded != wanted:
        problems.append(f"{FORMAT}: {what}: decoded {decoded!r}, expected {wanted!r}")


def write(name, data):
    path = os.path.join(WORK, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def check_bmp():
    from PIL import Image
    for mode, size in (("P", (5, 3)), ("RGB", (7, 4)), ("1", (9, 2))):
        image = Image.new(mode, size)
        if mode == "P":
            image.putpalette([value for c in range(16) for value in (c * 16, c * 8, c)])
        path = os.path.join(WORK, f"bild-{mode}.bmp")
        image.save(path)
        reread = Image.open(path)
        tree = decode(path, "bmp.dfm")
        info = nodes(tree, "Infokopf")[0]
        expect(f"{mode} width", number(field(info, "Breite")), reread.size[0])
        expect(f"{mode} height", number(field(info, "Höhe")), reread.size[1])
        header = nodes(tree, "Dateikopf")[0]
        expect(f"{mode} file size", number(field(header, "Dateigröße")), os.path.getsize(path))
        expect(f"{mode} signature", field(header, "Kennung")["value"].split()[-1], "BM")
        bits = {"P": 8, "RGB": 24, "1": 1}[mode]
        expect(f"{mode} bits", number(field(info, "Bits pro Pixel")), bits)
        table = nodes(tree, "Farbtabelle")
        if bits > 8:
            expect(f"{mode} colour table", table, [])
            continue
        palette = reread.getpalette() if mode == "P" else [0, 0, 0, 255, 255, 255]
        colours = [number(entry) for entry in table[0]["children"]]
        wanted = [(palette[3 * i] << 16) | (palette[3 * i + 1] << 8) | palette[3 * i + 2]
                  for i in range(len(colours))]
        expect(f"{mode} colours", colours, wanted)
        expect(f"{mode} colour count", len(colours), len(palette) // 3)
    # 32-bit sizes are unsigned, value texts carry no stray blanks
    data = bytearray(open(os.path.join(WORK, "bild-RGB.bmp"), "rb").read())
    struct.pack_into("<I", data, 2, 0x80000010)
    tree = decode(write("gross.bmp", bytes(data)), "bmp.dfm")
    expect("large file size", number(field(nodes(tree, "Dateikopf")[0], "Dateigröße")), 0x80000010)
    expect("compression text", field(nodes(tree, "Infokopf")[0], "Kompression")["value"], "BI_RGB")


def png_chunks(data):
    chunks, pos = [], 8
    while pos + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        if zlib.crc32(data[pos + 4:pos + 8 + length]) != crc:
            problems.append(f"PNG: the test file's {kind} CRC is wrong")
        chunks.append((kind.decode(), length, crc))
        pos += 12 + length
        if kind == b"IEND":
            break
    return chunks


def check_png():
    from PIL import Image
    samples = [Image.new("RGBA", (300, 2), (1, 2, 3, 4)), Image.new("L", (1, 70000 // 100), 9)]
    palette = Image.new("P", (3, 3))
    palette.putpalette([1, 2, 3] * 4)
    samples.append(palette)
    for number_, image in enumerate(samples):
        path = os.path.join(WORK, f"bild{number_}.png")
        image.save(path, pnginfo=None)
        reread = Image.open(path)
        data = open(path, "rb").read()
        tree = decode(path, "png.dfm")
        chunks = [(node["value"].strip('"'), number(field(node, "Länge")), number(field(node, "CRC")))
                  for node in nodes(tree, "Chunk")]
        expect(f"{image.mode} chunks", chunks, png_chunks(data))
        header = nodes(tree, "Chunk")[0]
        expect(f"{image.mode} width", number(field(header, "Breite")), reread.size[0])
        expect(f"{image.mode} height", number(field(header, "Höhe")), reread.size[1])
        colour_type = {"RGBA": 6, "L": 0, "P": 3}[reread.mode]
        expect(f"{image.mode} depth", number(field(header, "Bittiefe")), data[24])
        expect(f"{image.mode} colour type text", field(header, "Farbtyp")["value"].strip(),
               {6: "RGBA", 0: "Graustufen", 3: "Palette"}[colour_type])
        if reread.mode == "P":
            plte = [node for node in nodes(tree, "Chunk") if node["value"] == '"PLTE"'][0]
            expect("palette size", number(field(plte, "Länge")) // 3, len(reread.getpalette()) // 3)
        expect(f"{image.mode} signature", nodes(tree, "Signatur")[0]["size"], 8)
    data = bytearray(open(os.path.join(WORK, "bild0.png"), "rb").read())
    struct.pack_into(">I", data, 16, 0x80000001)
    tree = decode(write("breit.png", bytes(data)), "png.dfm")
    expect("large width", number(field(nodes(tree, "Chunk")[0], "Breite")), 0x80000001)
    struct.pack_into(">I", data, 33, 0xFFFFFFF0)  # the chunk after IHDR: a length leading backwards
    tree = decode(write("kaputt.png", bytes(data)), "png.dfm")
    expect("broken walk", list(rows(tree))[-1]["name"], "Ungültige Länge: Auswertung beendet")


def check_gif():
    from PIL import Image
    for colours in (3, 40):
        image = Image.new("P", (17, 9))
        image.putpalette([value for c in range(colours) for value in (c, 2 * c, 3 * c)])
        path = os.path.join(WORK, f"bild{colours}.gif")
        image.save(path, background=2)
        reread = Image.open(path)
        tree = decode(path, "gif.dfm")
        head = nodes(tree, "Kopf")[0]
        expect("version", field(head, "Signatur")["value"] + field(head, "Version")["value"],
               '"GIF""' + reread.info["version"].decode()[3:] + '"')
        screen = nodes(tree, "Logischer Bildschirm")[0]
        expect("width", number(field(screen, "Breite")), reread.size[0])
        expect("height", number(field(screen, "Höhe")), reread.size[1])
        expect("background", number(field(screen, "Hintergrundfarbe")), reread.info["background"])
        palette = reread.getpalette()
        table = [number(entry) for entry in nodes(tree, "Globale Farbtabelle")[0]["children"]]
        wanted = [(palette[3 * i] << 16) | (palette[3 * i + 1] << 8) | palette[3 * i + 2]
                  for i in range(len(palette) // 3)]
        expect(f"{colours} colours", table, wanted)


def check_wav():
    import wave
    for channels, width, rate, frames in ((1, 1, 8000, 333), (2, 2, 44100, 1000), (2, 3, 96000, 7)):
        path = os.path.join(WORK, f"ton{channels}{width}.wav")
        with wave.open(path, "wb") as out:
            out.setnchannels(channels)
            out.setsampwidth(width)
            out.setframerate(rate)
            out.writeframes(bytes(range(256)) * (channels * width * frames // 256) +
                            bytes(channels * width * frames % 256))
        # an odd-sized chunk before the data: its pad byte must be skipped
        data = open(path, "rb").read()
        extra = b"LIST" + struct.pack("<I", 3) + b"abc\0"
        data = data[:12] + extra + data[12:]
        data = data[:4] + struct.pack("<I", len(data) - 8) + data[8:]
        write(os.path.basename(path), data)
        with wave.open(path, "rb") as reread:
            tree = decode(path, "wav.dfm")
            kinds = [node["value"] for node in nodes(tree, "Chunk")]
            expect("chunks", kinds, ['"LIST"', '"fmt "', '"data"'])
            fmt = nodes(tree, "Chunk")[1]
            expect("channels", number(field(fmt, "Kanäle")), reread.getnchannels())
            expect("rate", number(field(fmt, "Abtastrate")), reread.getframerate())
            expect("bits", number(field(fmt, "Bits pro Abtastwert")), 8 * reread.getsampwidth())
            block = number(field(fmt, "Blockgröße"))
            expect("block", block, reread.getnchannels() * reread.getsampwidth())
            samples = nodes(tree, "Chunk")[2]
            expect("frames", number(field(samples, "Länge")) // block, reread.getnframes())
    data = bytearray(open(path, "rb").read())
    struct.pack_into("<I", data, 4, 0xFFFFFFF0)
    struct.pack_into("<I", data, 16, 0xFFFFFFF0)  # the LIST chunk
    tree = decode(write("kaputt.wav", bytes(data)), "wav.dfm")
    expect("large RIFF length", number(field(nodes(tree, "RIFF-Kopf")[0], "Länge")), 0xFFFFFFF0)
    expect("broken walk", list(rows(tree))[-1]["name"], "Ungültige Länge: Auswertung beendet")


def zip64_values(node):
    """The header's size fields, with those that hold 0xFFFFFFFF taken from its ZIP64 extra field."""
    values = {name: number(field(node, name)) for name in ("Größe", "Gepackte Größe")}
    if "Kopf ab" in [child["name"] for child in node["children"]]:
        values["Kopf ab"] = number(field(node, "Kopf ab"))
    extras = [child for child in node["children"] if child["name"] == "Zusatzfeld" and "ZIP64" in child["value"]]
    wide = [number(value) for value in extras[0]["children"] if value["name"] == "Wert"] if extras else []
    for name in ("Größe", "Gepackte Größe", "Kopf ab"):
        if values.get(name) == 0xFFFFFFFF and wide:
            values[name] = wide.pop(0)
    return values


class Unseekable:
    """A file object without tell and seek: zipfile then writes data descriptors."""
    def __init__(self, out):
        self.out = out

    def write(self, data):
        return self.out.write(data)

    def flush(self):
        self.out.flush()


def zip_samples():
    import zipfile
    path = os.path.join(WORK, "archiv.zip")
    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr("a.txt", "hallo" * 20, compress_type=zipfile.ZIP_DEFLATED)
        archive.writestr("ordner/b.bin", bytes(range(50)))
        archive.writestr(zipfile.ZipInfo("leer/"), b"")
        archive.comment = b"notiz"
    samples = [path]
    streamed = os.path.join(WORK, "strom.zip")
    with open(streamed, "wb") as raw, zipfile.ZipFile(Unseekable(raw), "w") as archive:
        archive.writestr("eins.txt", "x" * 500, compress_type=zipfile.ZIP_DEFLATED)
        archive.writestr("zwei.bin", bytes(range(256)) * 3)
        with archive.open("drei.bin", "w", force_zip64=True) as entry:
            entry.write("groß".encode() * 100)
    samples.append(streamed)
    # Info-ZIP into a pipe (sizes after the data), and with ZIP64 forced
    folder = os.path.join(WORK, "zipquelle")
    os.makedirs(folder, exist_ok=True)
    write("zipquelle/text.txt", b"Zeile\n" * 300)
    write("zipquelle/zufall.bin", bytes((i * 7919) % 251 for i in range(3000)))
    if subprocess.run(["zip", "-v"], capture_output=True).returncode == 0:
        piped = os.path.join(WORK, "pipe.zip")
        with open(piped, "wb") as out:
            zipper = subprocess.Popen(["zip", "-q", "-", "text.txt", "zufall.bin"], cwd=folder, stdout=subprocess.PIPE)
            out.write(zipper.stdout.read())
            zipper.wait()
        forced = os.path.join(WORK, "zip64.zip")
        subprocess.run(["zip", "-q", "-fz", forced, "text.txt", "zufall.bin"], cwd=folder, check=True)
        samples += [piped, forced]
    else:
        problems.append("ZIP: the zip tool is missing; only Python's archives were checked")
    return samples


def check_zip():
    import zipfile
    for path in zip_samples():
        name = os.path.basename(path)
        tree = decode(path, "zip.dfm")
        with zipfile.ZipFile(path) as archive:
            infos = archive.infolist()
            for kind in ("Lokaler Dateikopf", "Zentrales Verzeichnis"):
                entries = nodes(tree, kind)
                expect(f"{name} {kind} names", [node["value"].strip('"') for node in entries],
                       [i.filename for i in infos])
                expect(f"{name} {kind} CRCs", [number(field(node, "CRC-32")) for node in entries],
                       [i.CRC for i in infos] if kind != "Lokaler Dateikopf" else
                       [0 if i.flag_bits & 8 else i.CRC for i in infos])
            central = nodes(tree, "Zentrales Verzeichnis")
            sizes = [zip64_values(node) for node in central]
            expect(f"{name} sizes", [v["Größe"] for v in sizes], [i.file_size for i in infos])
            expect(f"{name} packed", [v["Gepackte Größe"] for v in sizes], [i.compress_size for i in infos])
            expect(f"{name} header offsets", [v["Kopf ab"] for v in sizes], [i.header_offset for i in infos])
            local = nodes(tree, "Lokaler Dateikopf")
            expect(f"{name} local offsets", [node["address"] for node in local], [i.header_offset for i in infos])
            expect(f"{name} data", [field(node, "Gepackte Daten")["size"] for node in local],
                   [i.compress_size for i in infos])
            expect(f"{name} descriptors",
                   [any(c["name"] == "Datendeskriptor" for c in node["children"]) for node in local],
                   [bool(i.flag_bits & 8) for i in infos])
            end = nodes(tree, "Endsatz")[0]
            expect(f"{name} comment", field(end, "Kommentar")["value"], '"' + archive.comment.decode() + '"')
            ends64 = nodes(tree, "ZIP64-Endsatz")
            count = number(field(ends64[0], "Einträge")) if ends64 else number(field(end, "Einträge"))
            start = number(field(ends64[0], "Verzeichnis ab")) if ends64 else number(field(end, "Verzeichnis ab"))
            expect(f"{name} entries", count, len(infos))
            expect(f"{name} directory", start, central[0]["address"])
            expect(f"{name} ZIP64 end record", bool(ends64), name == "zip64.zip")
    # a length that would lead backwards ends the walk with a row that says so
    data = bytearray(open(zip_samples()[0], "rb").read())
    data[18:22] = struct.pack("<I", 0xFFFFFFF0)
    broken = write("kaputt.zip", bytes(data[:200]))
    rows_ = list(rows(decode(broken, "zip.dfm")))
    expect("broken packed size", number([r for r in rows_ if r["name"] == "Gepackte Größe"][0]), 0xFFFFFFF0)
    expect("broken walk", rows_[-1]["name"], "Ungültige Länge: Auswertung beendet")


ELF_LAYOUTS = {  # header after e_ident, program header, section header
    32: ("HHIIIIIHHHHHH", "IIIIIIII", "IIIIIIIIII"),
    64: ("HHIQQQIHHHHHH", "IIQQQQQQ", "IIQQQQIIQQ"),
}


def elf_to_big_endian(data):
    """The same file with its header and both header tables in big-endian order."""
    bits = 32 if data[4] == 1 else 64
    header, program, section = ELF_LAYOUTS[bits]
    out = bytearray(data)
    out[5] = 2

    def swap(offset, layout):
        values = struct.unpack_from("<" + layout, data, offset)
        struct.pack_into(">" + layout, out, offset, *values)
        return values

    values = swap(16, header)
    phoff, shoff = values[4], values[5]
    phent, phnum, shent, shnum = values[8], values[9], values[10], values[11]
    for i in range(phnum):
        swap(phoff + i * phent, program)
    for i in range(shnum):
        swap(shoff + i * shent, section)
    return bytes(out)


def readelf(path):
    """Header values, segments and sections as readelf reports them."""
    def run(option):
        return subprocess.run(["readelf", "-W", option, path], capture_output=True, text=True).stdout
    header = {}
    for line in run("-h").splitlines():
        key, _, value = line.partition(":")
        header[key.strip()] = value.split()[0] if value.split() else ""
        if key.strip() == "Data" and "big endian" not in value and path.endswith(".be"):
            problems.append(f"ELF: readelf does not read {path} as big-endian")
    segments = []
    for line in run("-l").splitlines():
        parts = line.split()
        if len(parts) >= 6 and all(p.startswith("0x") for p in parts[1:6]):
            segments.append(tuple(int(p, 16) for p in parts[1:6]))
    sections = []
    for line in run("-S").splitlines():
        if not line.strip().startswith("[") or "Nr]" in line:
            continue
        parts = line.split("]", 1)[1].split()
        if parts[0] == "NULL":
            parts.insert(0, "")
        sections.append((parts[0], int(parts[2], 16), int(parts[3], 16), int(parts[4], 16)))
    return header, segments, sections


def check_elf():
    source = write("probe.c", b"int data[100] = {1};\nint _start(void) { for (;;) ; }\n")
    samples = []
    linked = os.path.join(WORK, "probe64")
    subprocess.run(["gcc", "-O0", "-nostdlib", "-static", source, "-o", linked], check=True)
    samples.append(linked)
    objects32 = os.path.join(WORK, "probe32.o")
    if subprocess.run(["gcc", "-m32", "-c", source, "-o", objects32]).returncode == 0:
        samples.append(objects32)
        linked32 = os.path.join(WORK, "probe32")
        if subprocess.run(["ld", "-m", "elf_i386", "-e", "_start", objects32, "-o", linked32]).returncode == 0:
            samples.append(linked32)
    else:
        problems.append("ELF: the compiler cannot make 32-bit objects here")
    for path in list(samples):
        samples.append(write(os.path.basename(path) + ".be", elf_to_big_endian(open(path, "rb").read())))
    for path in samples:
        name = os.path.basename(path)
        header, segments, sections = readelf(path)
        tree = decode(path, "elf.dfm")
        ident = nodes(tree, "Kennung")[0]
        expect(f"{name} class", field(ident, "Klasse")["value"].strip(), header["Class"].replace("ELF", "") + " Bit")
        expect(f"{name} order", field(ident, "Daten")["value"].strip(),
               "Big-Endian" if name.endswith(".be") else "Little-Endian")
        main = nodes(tree, "Dateikopf")[0]
        expect(f"{name} entry", number(field(main, "Einsprungadresse")), int(header["Entry point address"], 16))
        expect(f"{name} program headers", number(field(main, "Programmköpfe")), len(segments))
        expect(f"{name} section headers", number(field(main, "Abschnittsköpfe")), len(sections))
        expect(f"{name} section table", number(field(main, "Abschnittsköpfe ab")),
               int(header["Start of section headers"]))
        decoded = [tuple(number(field(node, n)) for n in ("Offset", "Virtuelle Adresse", "Physische Adresse",
                                                          "Größe in der Datei"))
                   for table in nodes(tree, "Programmköpfe") for node in table["children"]]
        expect(f"{name} segments", decoded, [segment[:4] for segment in segments])
        decoded = [(node["value"].strip('"'),) + tuple(number(field(node, n)) for n in ("Adresse", "Offset", "Größe"))
                   for table in nodes(tree, "Abschnittsköpfe") for node in table["children"]]
        expect(f"{name} sections", decoded, sections)
        data = bytearray(open(path, "rb").read())
        struct.pack_into(">I" if name.endswith(".be") else "<I", data, 20, 0xFFFFFFFF)
        tree = decode(write("version-" + name, bytes(data)), "elf.dfm")
        expect(f"{name} large version", number(field(nodes(tree, "Dateikopf")[0], "Version")), 0xFFFFFFFF)
        # a table entry size of 0 would show one header over and over: the walk ends with a row that says so
        wide = not name.startswith("probe32")
        for entry_size in ((0x36, 0x3A) if wide else (0x2A, 0x2E)):
            data = bytearray(open(path, "rb").read())
            order = ">H" if name.endswith(".be") else "<H"
            if struct.unpack_from(order, data, entry_size + 2)[0] == 0:
                continue  # no such table: nothing to walk
            struct.pack_into(order, data, entry_size, 0)
            cut = list(rows(decode(write("eintrag0-" + name, bytes(data)), "elf.dfm")))
            expect(f"{name} entry size 0 at {entry_size:#x}", cut[-1]["name"], "Ungültige Länge: Auswertung beendet")


def build_pe(plus):
    """A small PE image, byte by byte: DOS header and stub, NT headers, optional header
    with 16 data directories, and three sections whose raw data follows the headers."""
    sections = [(b".text", 0x1000, 0x234, 0x400, 0x60000020), (b".data", 0x2000, 0x10, 0x200, 0xC0000040),
                (b".reloc", 0x3000, 0x8, 0x200, 0x42000040)]
    image_base = 0x140000000 if plus else 0x400000
    directories = [(0x2000 + 8 * i, 16 * i) if i % 3 == 1 else (0, 0) for i in range(16)]
    optional = struct.pack("<HBBIIIII", 0x20B if plus else 0x10B, 14, 2, 0x400, 0x400, 0, 0x1010, 0x1000)
    if not plus:
        optional += struct.pack("<I", 0x2000)
    optional += struct.pack("<Q" if plus else "<I", image_base)
    optional += struct.pack("<IIHHHHHHIIIIHH", 0x1000, 0x200, 6, 0, 1, 2, 6, 0, 0, 0x4000, 0x400, 0x1234, 3, 0x8160)
    optional += struct.pack("<QQQQ" if plus else "<IIII", 0x100000, 0x1000, 0x100000, 0x1000)
    optional += struct.pack("<II", 0, len(directories))
    for rva, size in directories:
        optional += struct.pack("<II", rva, size)
    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<HH", dos, 2, 0x90, 3)
    stub = b"Dieses Programm braucht ein anderes System.\r\n$".ljust(64, b"\0")
    lfanew = len(dos) + len(stub)
    struct.pack_into("<I", dos, 0x3C, lfanew)
    coff = struct.pack("<HHIIIHH", 0x8664 if plus else 0x14C, len(sections), 0x5F000000, 0, 0, len(optional),
                       0x22 if plus else 0x102)
    table = b""
    raw = 0x400
    for name, rva, virtual, size, flags in sections:
        table += struct.pack("<8sIIIIIIHHI", name, virtual, rva, size, raw, 0, 0, 0, 0, flags)
        raw += size
    headers = bytes(dos) + stub + b"PE\0\0" + coff + optional + table
    body = b"".join(bytes([i + 1]) * size for i, (_, _, _, size, _) in enumerate(sections))
    return headers.ljust(0x400, b"\0") + body, image_base, sections, directories


def objdump(path):
    """AddressOfEntryPoint, ImageBase and the sections (name, VMA, file offset) as objdump reports them."""
    out = subprocess.run(["objdump", "-x", path], capture_output=True, text=True).stdout
    values, sections = {}, []
    for line in out.splitlines():
        parts = line.split()
        if len(parts) >= 2 and parts[0] in ("AddressOfEntryPoint", "ImageBase", "Magic", "NumberOfRvaAndSizes"):
            values[parts[0]] = int(parts[1], 16)
        if len(parts) >= 7 and parts[0].isdigit() and parts[1].startswith("."):
            sections.append((parts[1], int(parts[3], 16), int(parts[5], 16)))
    return values, sections


def check_pe():
    for plus in (False, True):
        data, image_base, built, directories = build_pe(plus)
        kind = "PE32+" if plus else "PE32"
        path = write(f"probe{'64' if plus else '32'}.exe", data)
        reported, sections = objdump(path)
        if not sections:
            problems.append(f"{kind}: objdump cannot read the test image")
            continue
        tree = decode(path, "pe.dfm")
        nt = nodes(tree, "NT-Köpfe")[0]
        optional = field(nt, "Optionaler Kopf")
        expect(f"{kind} magic", number(field(optional, "Magie")), reported["Magic"])
        expect(f"{kind} magic text", field(optional, "Magie")["value"].split()[-1], kind)
        expect(f"{kind} entry", number(field(optional, "Einsprungpunkt (RVA)")), reported["AddressOfEntryPoint"])
        expect(f"{kind} image base", number(field(optional, "Image-Basis")), reported["ImageBase"])
        expect(f"{kind} directories", number(field(optional, "Anzahl der Verzeichnisse")), reported["NumberOfRvaAndSizes"])
        decoded = [(number(field(d, "RVA")), number(field(d, "Größe")))
                   for d in field(optional, "Datenverzeichnisse")["children"]]
        expect(f"{kind} directory entries", decoded, directories)
        expect(f"{kind} first directory name", field(optional, "Datenverzeichnisse")["children"][1]["value"].split()[-1],
               "Import")
        table = nodes(tree, "Abschnittstabelle")[0]["children"]
        decoded = [(s["value"].strip('"'), image_base + number(field(s, "RVA")), number(field(s, "In der Datei ab")))
                   for s in table]
        expect(f"{kind} sections", decoded, sections)
        expect(f"{kind} raw sizes", [number(field(s, "Größe in der Datei")) for s in table], [b[3] for b in built])
        expect(f"{kind} signature text", field(nodes(tree, "DOS-Kopf")[0], "Kennung")["value"], "5A4Dh MZ")
        code = bytearray(data)
        struct.pack_into("<I", code, 64 + 64 + 4 + 20 + 4, 0x90000000)
        optional = field(nodes(decode(write("code.exe", bytes(code)), "pe.dfm"), "NT-Köpfe")[0], "Optionaler Kopf")
        expect(f"{kind} large code size", number(field(optional, "Größe des Codes")), 0x90000000)


def sqlite3_cli(path, sql):
    return subprocess.run(["sqlite3", path, sql], capture_output=True, text=True, check=True).stdout.split()


def check_sqlite():
    if not tool("sqlite3"):
        return
    plain = os.path.join(WORK, "klein.db")
    sqlite3_cli(plain, "PRAGMA user_version=7; PRAGMA application_id=1234; create table t(a,b); "
                       "insert into t values(1,'x'); create index i on t(a);")
    wide = os.path.join(WORK, "gross.db")
    sqlite3_cli(wide, "PRAGMA page_size=65536; PRAGMA encoding='UTF-16le'; PRAGMA auto_vacuum=2; "
                      "create table a(x); create table b(y); insert into b values(zeroblob(300000)); drop table b;")
    for path in (plain, wide):
        name = os.path.basename(path)
        pragma = {key: int(sqlite3_cli(path, f"PRAGMA {key};")[0]) for key in
                  ("page_size", "page_count", "freelist_count", "schema_version", "user_version", "application_id",
                   "auto_vacuum")}
        encoding = sqlite3_cli(path, "PRAGMA encoding;")[0]
        version = [int(part) for part in sqlite3_cli(path, "select sqlite_version();")[0].split(".")]
        tree = decode(path, "sqlite.dfm")
        head = nodes(tree, "Datenbankkopf")[0]
        size = number(field(head, "Seitengröße"))
        expect(f"{name} page size", 65536 if size == 1 else size, pragma["page_size"])
        expect(f"{name} pages", number(field(head, "Seiten")), pragma["page_count"])
        expect(f"{name} free pages", number(field(head, "Freiseiten")), pragma["freelist_count"])
        expect(f"{name} schema cookie", number(field(head, "Schemazähler")), pragma["schema_version"])
        expect(f"{name} user version", number(field(head, "Benutzerversion")), pragma["user_version"])
        expect(f"{name} application id", number(field(head, "Anwendungs-ID")), pragma["application_id"])
        expect(f"{name} encoding", field(head, "Textkodierung")["value"].split()[-1], encoding)
        expect(f"{name} auto-vacuum", number(field(head, "Größte Wurzelseite")) != 0, pragma["auto_vacuum"] != 0)
        expect(f"{name} incremental", number(field(head, "Inkrementelles Vakuum")), int(pragma["auto_vacuum"] == 2))
        expect(f"{name} library", number(field(head, "SQLite-Version")),
               version[0] * 1000000 + version[1] * 1000 + version[2])
        schema = nodes(tree, "Seite 1 (Schema)")[0]
        expect(f"{name} schema rows", number(field(schema, "Zellen")),
               int(sqlite3_cli(path, "select count(*) from sqlite_master;")[0]))


def check_uimage():
    if not tool("mkimage"):
        return
    parts = [write("teil1.bin", bytes(range(256)) * 4), write("teil2.bin", b"zweiter Teil" * 25)]
    images = [("arm", "linux", "kernel", "none", [parts[0]]), ("arm64", "linux", "multi", "gzip", parts),
              ("x86_64", "u-boot", "firmware", "lz4", [parts[1]]), ("riscv", "opensbi", "ramdisk", "zstd", [parts[1]])]
    environment = dict(os.environ, SOURCE_DATE_EPOCH="1700000000")
    for arch, system, kind, compression, data in images:
        path = os.path.join(WORK, f"{arch}-{kind}.img")
        subprocess.run(["mkimage", "-A", arch, "-O", system, "-T", kind, "-C", compression, "-a", "0x80008000",
                        "-e", "0x80008040", "-n", f"Bild {arch}", "-d", ":".join(data), path],
                       check=True, capture_output=True, env=environment)
        listed = {}
        for line in subprocess.run(["mkimage", "-l", path], capture_output=True, text=True).stdout.splitlines():
            key, _, value = line.partition(":")
            listed.setdefault(key.strip(), value.strip())
        raw = open(path, "rb").read()
        tree = decode(path, "uimage.dfm")
        head = nodes(tree, "Image-Kopf")[0]
        expect(f"{kind} name", field(head, "Name")["value"], '"' + listed["Image Name"] + '"')
        expect(f"{kind} size", number(field(head, "Datengröße")), int(listed["Data Size"].split()[0]))
        expect(f"{kind} load", number(field(head, "Ladeadresse")), int(listed["Load Address"], 16))
        expect(f"{kind} entry", number(field(head, "Einsprungadresse")), int(listed["Entry Point"], 16))
        expect(f"{kind} time", number(field(head, "Erstellt (Unix-Zeit)")), 1700000000)
        # "ARM Linux Kernel Image (uncompressed)": architecture and system by their names
        expect(f"{kind} architecture and system", listed["Image Type"].startswith(
            field(head, "Architektur")["value"] + " " + field(head, "Betriebssystem")["value"] + " "), True)
        shown = field(head, "Kompression")["value"]
        expect(f"{kind} compression", listed["Image Type"].endswith("(uncompressed)" if shown == "keine" else
                                                                  f"({shown} compressed)"), True)
        expect(f"{kind} data CRC", number(field(head, "Daten-CRC")), zlib.crc32(raw[64:]))
        expect(f"{kind} header CRC", number(field(head, "Kopf-CRC")), zlib.crc32(raw[:4] + bytes(4) + raw[8:64]))
        if kind == "multi":
            teile = [node["size"] for node in nodes(tree, "Teile")[0]["children"]]
            expect("multi parts", teile, [os.path.getsize(p) for p in data])
        else:
            expect(f"{kind} data", nodes(tree, "Daten")[0]["size"], os.path.getsize(data[0]))


def guid(node):
    """A GUID from its five parts as the module shows them ("C12A7328", "F81F", ..., "00 A0 C9 3E C9 3B")."""
    parts = [field(node, f"Teil {i}")["value"].split() for i in range(1, 6)]
    return "-".join([parts[0][0], parts[1][0], parts[2][0], "".join(parts[3]), "".join(parts[4])])


def check_mbr():
    if not tool("sfdisk"):
        return
    path = os.path.join(WORK, "platte.img")
    with open(path, "wb") as image:
        image.truncate(64 << 20)
    layout = ("label: dos\nlabel-id: 0x12345678\nstart=2048, size=20480, type=83, bootable\n"
              "start=22528, size=8192, type=c\nstart=30720, type=5\nstart=32768, size=4096, type=83\n"
              "start=38912, size=4096, type=82\nstart=45056, size=2048, type=8e\n")
    subprocess.run(["sfdisk", "-q", path], input=layout, text=True, check=True)
    table = json.loads(subprocess.run(["sfdisk", "-J", path], capture_output=True, text=True).stdout)["partitiontable"]
    tree = decode(path, "mbr.dfm")
    expect("disk id", number(nodes(tree, "Datenträgerkennung")[0]), int(table["id"], 16))
    primary = [p for p in nodes(tree, "Partitionstabelle")[0]["children"] if number(field(p, "Typ"))]
    logical = [p for ebr in nodes(tree, "Logische Partitionen")[0]["children"] for p in ebr["children"]
               if p["name"].startswith("Partition")]
    decoded = [(p["name"], number(field(p, "Erster Sektor (LBA)")), number(field(p, "Sektoren")),
                number(field(p, "Typ")), field(p, "Status")["value"].split()[-1] == "aktiv") for p in primary + logical]
    wanted = [(f"Partition[{p['node'][len(path):]}]", p["start"], p["size"], int(p["type"], 16),
               p.get("bootable", False)) for p in table["partitions"]]
    expect("partitions", decoded, wanted)
    # a chain that leads back to an earlier boot record ends with a row that says so
    data = bytearray(open(path, "rb").read())
    second = (30720 + 6144) * 512
    struct.pack_into("<I", data, second + 446 + 16 + 8, 0)
    data[second + 446 + 16 + 4] = 5
    rows_ = list(rows(decode(write("kreis.img", bytes(data[:48 << 20])), "mbr.dfm")))
    expect("chain back", [r["name"] for r in rows_ if r["name"].startswith("Verweis zur")],
           ["Verweis zurück: Auswertung beendet"])


def check_gpt():
    if not tool("sgdisk"):
        return
    path = os.path.join(WORK, "gpt.img")
    with open(path, "wb") as image:
        image.truncate(64 << 20)
    subprocess.run(["sgdisk", "-n", "1:2048:+8M", "-t", "1:ef00", "-c", "1:EFI", "-n", "2:0:+20M", "-t", "2:8300",
                    "-c", "2:Wurzel", "-n", "3:0:+4M", "-t", "3:8200", "-A", "3:set:2", "-n", "4:0:0", "-t", "4:0700",
                    path], check=True, capture_output=True)
    listed = subprocess.run(["sgdisk", "-p", path], capture_output=True, text=True).stdout
    disk = re.search(r"Disk identifier \(GUID\): (\S+)", listed).group(1)
    tree = decode(path, "gpt.dfm")
    head = nodes(tree, "GPT-Kopf")[0]
    expect("disk GUID", guid(field(head, "Datenträger-GUID")), disk)
    expect("first usable", number(field(head, "Erster nutzbarer Sektor")),
           int(re.search(r"First usable sector is (\d+)", listed).group(1)))
    partitions = nodes(tree, "Partitionen")[0]["children"]
    numbers = [int(line.split()[0]) for line in listed.splitlines() if re.match(r"\s+\d+\s+\d+", line)]
    expect("partition numbers", [p["name"] for p in partitions], [f"Partition[{n}]" for n in numbers])
    names = {"EF00": "EFI-System", "8300": "Linux-Dateisystem", "8200": "Linux Swap", "0700": "Microsoft Basisdaten"}
    for n, partition in zip(numbers, partitions):
        info = dict(line.split(": ", 1) for line in subprocess.run(["sgdisk", "-i", str(n), path], capture_output=True,
                                                                    text=True).stdout.splitlines() if ": " in line)
        kind = field(partition, "Typ-GUID")
        expect(f"{n} type", guid(kind), info["Partition GUID code"].split()[0])
        expect(f"{n} unique", guid(field(partition, "Eindeutige GUID")), info["Partition unique GUID"])
        expect(f"{n} first", number(field(partition, "Erster Sektor")), int(info["First sector"].split()[0]))
        expect(f"{n} last", number(field(partition, "Letzter Sektor")), int(info["Last sector"].split()[0]))
        expect(f"{n} attributes", number(field(partition, "Attribute")), int(info["Attribute flags"], 16))
        expect(f"{n} name", field(partition, "Name")["value"], '"' + info["Partition name"].strip("'") + '"')
        code = [line.split()[5] for line in listed.splitlines() if re.match(rf"\s+{n}\s", line)][0]
        expect(f"{n} type name", kind["value"].split(" ", 1)[1], names[code])
    # an entry count above 2^31 (negative to the loop) and an entry size of 0: a last row that says so
    for at, value, wanted in ((80, 0x80000000, "Ungültige Anzahl: Auswertung beendet"),
                              (84, 0, "Ungültige Länge: Auswertung beendet")):
        broken = bytearray(open(path, "rb").read(1 << 20))
        struct.pack_into("<I", broken, 512 + at, value)
        expect(f"broken header field at {at}", list(rows(decode(write("kaputt.img", bytes(broken)), "gpt.dfm")))[-1]["name"],
               wanted)


def gzip_members(data):
    """Offset, CRC-32 and length of each member, as zlib reads them one after the other."""
    members, offset = [], 0
    while offset < len(data) and data[offset:offset + 2] == b"\x1f\x8b":
        reader = zlib.decompressobj(31)
        plain = reader.decompress(data[offset:])
        members.append((offset, zlib.crc32(plain), len(plain)))
        offset = len(data) - len(reader.unused_data)
    return members, offset


def check_gzip():
    if not tool("gzip"):
        return
    plain = write("text.txt", b"hallo welt\n" * 200)
    os.utime(plain, (1234567890, 1234567890))
    subprocess.run(["gzip", "-kfN9", plain], check=True)
    named = plain + ".gz"
    anonymous = os.path.join(WORK, "anonym.gz")
    with open(anonymous, "wb") as out:
        subprocess.run(["gzip", "-c", "-n", "-1"], input=bytes(range(256)) * 40, stdout=out, check=True)
    joined = write("mehrere.gz", open(named, "rb").read() + open(anonymous, "rb").read() + open(named, "rb").read())
    # every optional header field, written by hand; gzip itself must read it
    body = zlib.compressobj(6, zlib.DEFLATED, -15)
    deflated = body.compress(b"mit allem" * 30) + body.flush()
    header = bytes([0x1F, 0x8B, 8, 0x1F]) + struct.pack("<I", 7) + bytes([0, 255])
    header += struct.pack("<H", 6) + b"ab\x02\x00xy" + b"name.bin\0" + b"ein Kommentar\0"
    header += struct.pack("<H", zlib.crc32(header) & 0xFFFF)
    full = write("alles.gz", header + deflated + struct.pack("<II", zlib.crc32(b"mit allem" * 30), 270))
    if subprocess.run(["gzip", "-t", full]).returncode != 0:
        problems.append("gzip: gzip rejects the hand-made member")
    for path in (named, anonymous, joined, full):
        name = os.path.basename(path)
        data = open(path, "rb").read()
        members, _ = gzip_members(data)
        tree = decode(path, "gzip.dfm")
        decoded = [(m["address"], number(field(m, "CRC-32")), number(field(m, "Originalgröße (mod 2^32)")))
                   for m in nodes_prefix(tree, "Mitglied[")]
        expect(f"{name} members", decoded, members)
        listed = subprocess.run(["gzip", "-lvN", path], capture_output=True, text=True).stdout.splitlines()[1].split()
        last = nodes_prefix(tree, "Mitglied[")[-1]
        expect(f"{name} listed CRC", number(field(last, "CRC-32")), int(listed[1], 16))
        first = nodes_prefix(tree, "Mitglied[")[0]
        flags = field(first, "Flags")
        expect(f"{name} flags", number(flags), data[3])
        expect(f"{name} flag rows", [child["value"] for child in flags["children"][:5]],
               ["ja" if data[3] & (1 << bit) else "nein" for bit in range(5)])
        expect(f"{name} time", number(field(first, "Änderungszeit (Unix-Zeit)")), struct.unpack_from("<I", data, 4)[0])
        if data[3] & 8:
            expect(f"{name} file name", first["value"], '"' + listed[-1].rsplit("/", 1)[-1] + '"'
                   if path != full else '"name.bin"')
        if path == full:
            expect("comment", field(first, "Kommentar")["value"], '"ein Kommentar"')
            expect("extra", field(first, "Zusatzfeld")["value"], "0x61 0x62 0x02 0x00 0x78 0x79 ")
            expect("header CRC", number(field(first, "Kopf-CRC16")), struct.unpack_from("<H", data, len(header) - 2)[0])
    # a file cut after the next member's first bytes
    cut = write("abgeschnitten.gz", open(named, "rb").read() + open(anonymous, "rb").read()[:12])
    tree = decode(cut, "gzip.dfm")
    expect("cut member", [n["name"] for n in tree], ["Mitglied[1]", "Zu wenige Bytes für ein Mitglied"])
    expect("cut member size", tree[-1]["size"], 12)


def nodes_prefix(tree, prefix):
    return [node for node in tree if node["name"].startswith(prefix)]


def tar_listing(tree):
    """(name, size, kind) of each member as tar lists it: GNU long names and pax paths apply to
    the header after them, a ustar prefix goes before the name."""
    members, pending = [], None
    for entry in nodes_prefix(tree, "Eintrag["):
        kind = field(entry, "Typ")["value"].split("'")[1]
        content = [c["value"][1:-1] for c in entry["children"] if c["name"] == "Inhalt"]
        if kind == "L":
            pending = content[0]
            continue
        if kind in "xg":
            found = re.search(r"path=(.*?)\\n", content[0] if content else "")
            pending = found.group(1) if found and kind == "x" else pending
            continue
        prefix = field(entry, "Präfix")["value"][1:-1]
        name = pending or ((prefix + "/" if prefix else "") + entry["value"][1:-1])
        members.append((name, number(field(entry, "Größe in Bytes")), {"0": "-", "5": "d", "2": "l"}[kind]))
        pending = None
    return members


def check_tar():
    if not tool("tar"):
        return
    source = os.path.join(WORK, "tarquelle")
    long_dir = "langer_ordner_" * 4
    os.makedirs(os.path.join(source, long_dir), exist_ok=True)
    write("tarquelle/text.txt", b"hallo welt\n" * 200)
    write("tarquelle/leer.bin", b"")
    write("tarquelle/block.bin", bytes(range(256)) * 2)
    write(f"tarquelle/{long_dir}/datei_mit_langem_namen_{'x' * 50}.txt", b"inhalt\n")
    if not os.path.lexists(os.path.join(source, "verweis")):
        os.symlink("text.txt", os.path.join(source, "verweis"))
    for form in ("gnu", "pax", "ustar"):
        path = os.path.join(WORK, f"archiv-{form}.tar")
        subprocess.run(["tar", "cf", path, f"--format={form}", "text.txt", "leer.bin", "block.bin", "verweis",
                        long_dir], cwd=source, check=True)
        listed = []
        for line in subprocess.run(["tar", "tvf", path], capture_output=True, text=True).stdout.splitlines():
            parts = line.split(None, 5)
            listed.append((parts[5].split(" -> ")[0], int(parts[2]), parts[0][0]))
        expect(f"{form} members", tar_listing(decode(path, "tar.dfm")), listed)


def check_jpeg():
    from PIL import Image
    image = Image.new("RGB", (40, 30), (10, 200, 30))
    for x in range(40):
        image.putpixel((x, x % 30), (x * 6, 255 - x * 6, 128))
    samples = []
    for order in (">", "<"):
        exif = Image.Exif()
        exif.endian = order
        exif[0x010F] = "Hersteller GmbH"
        exif[0x0110] = "Modell X"
        exif[0x0112] = 6
        exif[0x0131] = "abc"
        path = os.path.join(WORK, f"exif{'be' if order == '>' else 'le'}.jpg")
        image.save(path, exif=exif, comment=b"Ein Kommentar", dpi=(300, 200))
        samples.append(path)
    progressive = os.path.join(WORK, "progressiv.jpg")
    image.convert("L").save(progressive, progressive=True, quality=60)
    samples.append(progressive)
    for path in samples:
        name = os.path.basename(path)
        reread = Image.open(path)
        tree = decode(path, "jpeg.dfm")
        segments = nodes(tree, "Segment")
        markers = [number(s) for s in segments]
        expect(f"{name} ends with EOI", (markers[-1], segments[-1]["address"]), (0xFFD9, os.path.getsize(path) - 2))
        # every APPn and COM segment in order, with the length PIL read
        apps = [(f"APP{m - 0xFFE0}" if m != 0xFFFE else "COM", number(field(s, "Länge")) - 2)
                for m, s in zip(markers, segments) if 0xFFE0 <= m <= 0xFFEF or m == 0xFFFE]
        expect(f"{name} APP segments", apps, [(kind, len(data)) for kind, data in reread.applist])
        jfif = segments[markers.index(0xFFE0)]
        expect(f"{name} JFIF density", (number(field(jfif, "Dichte X")), number(field(jfif, "Dichte Y"))),
               reread.info["jfif_density"])
        sof = [s for m, s in zip(markers, segments) if m in (0xFFC0, 0xFFC2)][0]
        expect(f"{name} size", (number(field(sof, "Breite")), number(field(sof, "Höhe"))), reread.size)
        expect(f"{name} components", number(field(sof, "Komponenten")), len(reread.getbands()))
        expect(f"{name} progressive", markers.count(0xFFC2) == 1, "progressive" in reread.info)
        scans = [n for n in tree if n["name"] == "Bilddaten"]
        expect(f"{name} scans", len(scans), markers.count(0xFFDA))
        if 0xFFFE in markers:
            comment = segments[markers.index(0xFFFE)]
            expect(f"{name} comment", field(comment, "Kommentar")["value"], '"' + reread.info["comment"].decode() + '"')
        if 0xFFE1 in markers:
            tiff = field(segments[markers.index(0xFFE1)], "TIFF")
            entries = [e for e in tiff["children"] if e["name"] == "Eintrag"]
            stored = reread.getexif()
            by_tag = {number(field(e, "Tag")): e for e in entries}
            expect(f"{name} Exif tags", sorted(by_tag), sorted(stored.keys()))
            texts = {number(field(e, "Tag")): field(e, "Text")["value"] for e in entries
                     if any(c["name"] == "Text" for c in e["children"])}
            expect(f"{name} Exif texts", texts, {tag: f'"{value}"' for tag, value in stored.items()
                                                 if isinstance(value, str) and len(value) >= 4})
            expect(f"{name} orientation", number(field(by_tag[0x0112], "Wert oder Offset"))
                   >> (16 if name == "exifbe.jpg" else 0), 6)
    # a segment length below 2 ends the walk with a row that says so
    data = bytearray(open(samples[0], "rb").read())
    data[4:6] = b"\x00\x01"
    expect("broken length", list(rows(decode(write("kaputt.jpg", bytes(data)), "jpeg.dfm")))[-1]["name"],
           "Ungültige Länge: Auswertung beendet")
    # a file cut inside a segment: no field before the segment's start, and a last row that says so
    for cut in (7, 30):
        cut_tree = decode(write(f"abgeschnitten{cut}.jpg", open(samples[0], "rb").read()[:cut]), "jpeg.dfm")
        cut_rows = list(rows(cut_tree))
        expect(f"cut at {cut}: fields behind their segment's length", [
            r["name"] for s in nodes(cut_tree, "Segment") for r in rows(s["children"])
            if r["name"] != "Länge" and r["address"] < s["address"] + 4], [])
        expect(f"cut at {cut}: last row", cut_rows[-1]["name"], "Segment reicht über das Dateiende: Auswertung beendet")


def check_squashfs():
    if not tool("mksquashfs") or not tool("unsquashfs"):
        return
    source = os.path.join(WORK, "sqquelle")
    os.makedirs(os.path.join(source, "ordner"), exist_ok=True)
    write("sqquelle/text.txt", b"hallo welt\n" * 500)
    write("sqquelle/ordner/zufall.bin", bytes((i * 7919) % 251 for i in range(200000)))
    variants = [("gzip", ["-b", "4096"]), ("xz", ["-Xbcj", "x86", "-no-exports", "-no-fragments"]),
                ("lzo", ["-noI", "-noD", "-always-use-fragments"]), ("zstd", ["-no-xattrs"])]
    for compression, options in variants:
        path = os.path.join(WORK, f"bild-{compression}.sqfs")
        made = subprocess.run(["mksquashfs", source, path, "-quiet", "-noappend", "-comp", compression,
                               "-mkfs-time", "1700000000"] + options, capture_output=True)
        if made.returncode != 0:  # a compressor the tools were built without; gzip they always have
            expect(f"{compression} image made", compression != "gzip", True)
            continue
        listed = subprocess.run(["unsquashfs", "-s", path], capture_output=True, text=True).stdout
        value = lambda pattern: re.search(pattern, listed).group(1)
        said = lambda text: text in listed
        block = nodes(decode(path, "squashfs.dfm"), "Superblock")[0]
        flags = {child["name"]: child["value"] == "ja" for child in field(block, "Flags")["children"]}
        expect(f"{compression} size", number(field(block, "Belegte Bytes")), int(value(r"Filesystem size (\d+) bytes")))
        expect(f"{compression} compression", field(block, "Kompression")["value"], value(r"Compression (\w+)"))
        expect(f"{compression} block size", number(field(block, "Blockgröße")), int(value(r"Block size (\d+)")))
        expect(f"{compression} inodes", number(field(block, "Inodes")), int(value(r"Number of inodes (\d+)")))
        expect(f"{compression} fragments", number(field(block, "Fragmente")), int(value(r"Number of fragments (\d+)")))
        expect(f"{compression} ids", number(field(block, "IDs")), int(value(r"Number of ids (\d+)")))
        expect(f"{compression} time", number(field(block, "Erstellt (Unix-Zeit)")), 1700000000)
        expect(f"{compression} version", (number(field(block, "Hauptversion")), number(field(block, "Nebenversion"))),
               tuple(int(v) for v in value(r"SQUASHFS (\d+:\d+)").split(":")))
        expect(f"{compression} exportable", flags["Über NFS exportierbar"], said("is exportable via NFS"))
        expect(f"{compression} inodes compressed", flags["Inodes unkomprimiert"], said("Inodes are uncompressed"))
        expect(f"{compression} data compressed", flags["Daten unkomprimiert"], said("Data is uncompressed"))
        expect(f"{compression} no fragments", flags["Keine Fragmente"], said("Fragments are not stored"))
        expect(f"{compression} always fragments", flags["Immer Fragmente"],
               said("Always-use-fragments option is specified"))
        expect(f"{compression} options", flags["Kompressoroptionen"], "-Xbcj" in options)


DTS_SAMPLE = """/dts-v1/;
/memreserve/ 0x10000000 0x4000;
/memreserve/ 0x1 0x200000000;
/ {
	compatible = "firma,brett", "firma,familie";
	#address-cells = <1>;
	#size-cells = <1>;
	model = "Testbrett";
	chosen { bootargs = "console=ttyS0,115200 root=/dev/mmcblk0p2"; };
	cpus {
		cpu@0 { reg = <0>; status = "okay"; leer; };
		cpu@1 { reg = <1>; status = "disabled"; };
	};
	speicher@80000000 {
		reg = <0x80000000 0x10000000>;
		bytes = [01 02 03 04 05];
		gemischt = <0x11223344>, "text";
		tief { noch-tiefer { am-tiefsten { wert = <7 8 9>; }; }; };
	};
};
"""


def dts_bytes(value):
    """The bytes of a DTS property value as dtc writes it: strings, <cells> and [bytes], comma-separated."""
    out, i = b"", 0
    while i < len(value):
        c = value[i]
        if c == '"':
            j, text = i + 1, b""
            while value[j] != '"':
                if value[j] == "\\":
                    escaped = value[j + 1]
                    text += {"0": b"\0", "n": b"\n", "t": b"\t", '"': b'"', "\\": b"\\"}.get(escaped, escaped.encode())
                    j += 2
                else:
                    text += value[j].encode()
                    j += 1
            out += text + b"\0"
            i = j + 1
        elif c == "<":
            j = value.index(">", i)
            out += b"".join(struct.pack(">I", int(cell, 0)) for cell in value[i + 1:j].split())
            i = j + 1
        elif c == "[":
            j = value.index("]", i)
            out += bytes.fromhex(value[i + 1:j].replace(" ", ""))
            i = j + 1
        else:
            i += 1
    return out


def dts_properties(text):
    """(node path, property, value bytes) in the order dtc writes them, and the reservations."""
    found, path, reserved = [], [], []
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("/memreserve/"):
            reserved.append(tuple(int(v.rstrip(";"), 16) for v in line.split()[1:3]))
        elif line.endswith("{"):
            path.append(line[:-1].strip())
        elif line == "};":
            path.pop()
        elif line.endswith(";") and path:
            name, _, value = line[:-1].partition(" = ")
            found.append(("/".join(path), name.strip(), dts_bytes(value)))
    return found, reserved


def hex_bytes(node):
    return bytes(int(v, 16) for v in node["value"].split())


def check_dtb():
    if not tool("dtc"):
        return
    source = write("brett.dts", DTS_SAMPLE.encode())
    path = os.path.join(WORK, "brett.dtb")
    subprocess.run(["dtc", "-q", "-I", "dts", "-O", "dtb", "-o", path, source], check=True)
    listed = subprocess.run(["dtc", "-q", "-I", "dtb", "-O", "dts", path], capture_output=True, text=True).stdout
    wanted, reserved = dts_properties(listed)
    tree = decode(path, "dtb.dfm")

    def walk(node, path, out):
        for child in node["children"]:
            if child["name"] == "Knoten":
                name = child["value"][1:-1] or "/"
                walk(child, path + [name], out)
            elif child["name"] == "Eigenschaft":
                values = [c for c in child["children"] if c["name"] == "Wert"]
                out.append(("/".join(path), child["value"][1:-1], hex_bytes(values[0]) if values else b""))
        return out
    decoded = walk(nodes(tree, "Struktur")[0], [], [])
    expect("properties", decoded, wanted)
    decoded = [(number(field(r, "Adresse")), number(field(r, "Größe")))
               for r in nodes(tree, "Speicherreservierungen")[0]["children"] if r["name"] == "Reservierung"]
    expect("reservations", decoded, reserved)
    head = nodes(tree, "FDT-Kopf")[0]
    data = open(path, "rb").read()
    expect("total size", number(field(head, "Gesamtgröße")), len(data))
    # a property length that would lead backwards ends the walk with a row that says so
    broken = bytearray(data)
    first_property = struct.unpack_from(">I", data, 8)[0] + 8  # after the root node's token and empty name
    struct.pack_into(">I", broken, first_property + 4, 0xFFFFFFF0)
    expect("broken walk", list(rows(decode(write("kaputt.dtb", bytes(broken)), "dtb.dfm")))[-1]["name"],
           "Ungültige Länge: Auswertung beendet")


def build_macho(bits, order):
    """A small Mach-O image, byte by byte: header, a segment with two sections, symbol table,
    dynamic linker, a library, UUID, entry point, run path and one command left undecoded."""
    e = "<" if order == "le" else ">"
    word = "Q" if bits == 64 else "I"
    pad = lambda text, size: text.encode().ljust(size, b"\0")
    sections = [("__text", 0x1000, 0x234, 0x400), ("__cstring", 0x1234, 0x40, 0x634)]
    body = b""
    for name, address, size, offset in sections:
        body += pad(name, 16) + pad("__TEXT", 16) + struct.pack(e + word * 2 + "I" * (7 if bits == 32 else 8),
                                                                 address, size, offset, 4, 0, 0, 0x80000400, 0, 0,
                                                                 *([0] if bits == 64 else []))
    segment = pad("__TEXT", 16) + struct.pack(e + word * 4 + "IIII", 0x100000000 if bits == 64 else 0x1000, 0x2000, 0,
                                              0x800, 7, 5, len(sections), 0) + body
    commands = [(0x19 if bits == 64 else 0x1, segment),
                (0x2, struct.pack(e + "IIII", 0x900, 12, 0xA00, 0x80)),
                (0xE, struct.pack(e + "I", 12) + pad("/usr/lib/dyld", 20)),
                (0xC, struct.pack(e + "IIII", 24, 2, 0x10000, 0x10000) + pad("/usr/lib/libSystem.B.dylib", 32)),
                (0x1B, bytes(range(0xA0, 0xB0))),
                (0x80000028, struct.pack(e + "QQ", 0x4F0, 0x80000)),
                (0x8000001C, struct.pack(e + "I", 12) + pad("@loader_path/../lib", 20)),
                (0x2A, struct.pack(e + "Q", 0x1234))]
    raw = b"".join(struct.pack(e + "II", cmd, 8 + len(data)) + data for cmd, data in commands)
    magic = 0xFEEDFACF if bits == 64 else 0xFEEDFACE
    header = struct.pack(e + "IiiIIII", magic, 0x01000007 if bits == 64 else 7, 3, 2, len(commands), len(raw), 0x85)
    if bits == 64:
        header += struct.pack(e + "I", 0)
    return (header + raw).ljust(0x800, b"\0"), commands, sections


def check_macho():
    for bits in (32, 64):
        for order in ("le", "be"):
            kind = f"{bits} Bit {order}"
            data, commands, sections = build_macho(bits, order)
            path = write(f"probe{bits}{order}.macho", data)
            tree = decode(path, "macho.dfm")
            head = nodes(tree, "Mach-O-Kopf")[0]
            expect(f"{kind} magic", field(head, "Magie")["value"].split()[-2:], [str(bits), "Bit"])
            expect(f"{kind} CPU", field(head, "CPU-Typ")["value"].split()[-1], "x86-64" if bits == 64 else "x86")
            expect(f"{kind} file type", field(head, "Dateityp")["value"], "Programm")
            listed = nodes(tree, "Ladebefehle")[0]["children"]
            expect(f"{kind} commands", [(number(field(c, "Befehl")), number(field(c, "Größe"))) for c in listed],
                   [(cmd, 8 + len(payload)) for cmd, payload in commands])
            expect(f"{kind} command offsets", [c["address"] for c in listed],
                   [(32 if bits == 64 else 28) + sum(8 + len(p) for _, p in commands[:i]) for i in range(len(commands))])
            segment = listed[0]
            expect(f"{kind} segment", segment["value"], '"__TEXT"')
            decoded = [(s["value"][1:-1], number(field(s, "Adresse")), number(field(s, "Größe")),
                        number(field(s, "Offset"))) for s in segment["children"] if s["name"] == "Abschnitt"]
            expect(f"{kind} sections", decoded, sections)
            expect(f"{kind} names", [listed[i]["value"] for i in (2, 3, 6)],
                   ['"/usr/lib/dyld"', '"/usr/lib/libSystem.B.dylib"', '"@loader_path/../lib"'])
            expect(f"{kind} uuid", field(listed[4], "UUID")["value"].split(), [f"{b:02X}" for b in range(0xA0, 0xB0)])
            expect(f"{kind} entry", number(field(listed[5], "Einsprungpunkt (Datei-Offset)")), 0x4F0)
            expect(f"{kind} undecoded", listed[7]["value"].split()[-1], "LC_SOURCE_VERSION")
    # a command size below 8 would not move on: the list ends with a row that says so
    data, _, _ = build_macho(64, "le")
    broken = bytearray(data)
    struct.pack_into("<I", broken, 32 + 4, 0)
    expect("broken walk", [r["name"] for r in rows(decode(write("kaputt.macho", bytes(broken)), "macho.dfm"))][-1],
           "Ungültige Länge: Auswertung beendet")


CHECKS = {"macho": check_macho, "dtb": check_dtb, "squashfs": check_squashfs, "jpeg": check_jpeg, "tar": check_tar, "gzip": check_gzip, "mbr": check_mbr, "gpt": check_gpt, "sqlite": check_sqlite, "uimage": check_uimage, "bmp": check_bmp, "png": check_png, "gif": check_gif, "wav": check_wav, "zip": check_zip, "elf": check_elf, "pe": check_pe}
CHECKS[FORMAT]()
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
