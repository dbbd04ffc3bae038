#!/usr/bin/env python3
"""Writes the malformed-input corpus: one folder per case under OUT, each a
project as the setup reads it before encryption (setup.plain, data.plain),
with the payload cabinet file1.cab and, where the case changes it, a layout,
language file or container of its own. The cases are made, not stored: the
large ones (10 000 entries, 100 000-character values) would weigh megabytes.

usage: make_corpus.py OUT GCAB

Every case keeps "[BUILDING] 2=Yes" first, so that the setup runs unattended
and shows no window to answer, unless the case is about that section. A file
named EVIL* anywhere but the installation folder means something was written
where the project does not name."""
import os
import shutil
import subprocess
import sys

OUT, GCAB = sys.argv[1], sys.argv[2]
CRLF = "\r\n"
ALL_SYSTEMS = CRLF.join(["[SYSTEM]"] + ["os%d=Yes" % i for i in range(7)]) + CRLF
GOOD_DATA = "payload\\one.txt" + CRLF + "Destination Computer\\<InstallDir>\\*0*0*1|" + CRLF
LONG = "L" * 100000


def settings(appinfo="", extra="", building="[BUILDING]\r\n2=Yes\r\n", pages="progress.lcd,complete.lcd"):
    names = pages.split(",") if pages else []
    dialog = "[DIALOGLIST]" + CRLF + "TOTAL1=%d" % len(names) + CRLF
    dialog += "".join("W%d=%s%s" % (i, n, CRLF) for i, n in enumerate(names))
    return (building + "[APPINFO]" + CRLF + "a1=Malformed Tool" + CRLF + "a2=1.0" + CRLF +
            "a3={B4AC7E75-MALFORMED}" + CRLF + "a4=<ProgramFilesFolder>\\Malformed Tool" + CRLF +
            appinfo + extra + ALL_SYSTEMS + dialog)


cases = []


def case(name, setup=None, data=GOOD_DATA, cab=None, files=None, raw=None):
    """raw: {name: bytes} written as they are (a container not made by cvpack)."""
    cases.append((name, setup if setup is not None else settings(), data, cab, files or {}, raw or {}))


def cabinet(folder, names):
    """A cabinet with one entry per (stored name, text): gcab stores plain
    names, so a name holding separators is written with placeholder bytes of
    the same length and patched afterwards."""
    work = os.path.join(folder, "cabwork")
    os.makedirs(work, exist_ok=True)
    stand_ins = []
    for i, (stored, text) in enumerate(names):
        stand_in = "".join(c if c.isalnum() or c in "._" else "Q" for c in stored)
        stand_in = ("%d" % i + stand_in)[:len(stored)] if len(stored) > 1 else stand_in
        stand_ins.append((stand_in, stored))
        with open(os.path.join(work, stand_in), "w") as f:
            f.write(text)
    path = os.path.join(folder, "file1.cab")
    subprocess.run([GCAB, "-c", path] + [s for s, _ in stand_ins], cwd=work, check=True)
    data = open(path, "rb").read()
    for stand_in, stored in stand_ins:
        data = data.replace(stand_in.encode() + b"\0", stored.encode("latin-1") + b"\0", 1)
    open(path, "wb").write(data)
    shutil.rmtree(work)


# ---- setup.inf ------------------------------------------------------------
case("settings-empty", setup="")
case("settings-only-building", setup="[BUILDING]\r\n2=Yes\r\n")
case("settings-nul-bytes", setup=settings().replace("a2=1.0", "a2=1\0.0\0\0") + "\0" * 300)
case("settings-nul-in-section-name", setup=settings(extra="[SYS\0TEM]\r\nos0=No\r\n"))
case("settings-truncated-mid-line", setup=settings()[:-9])
case("settings-truncated-in-section-name", setup=settings() + "[DIALOGLI")
case("settings-no-line-ends", setup=settings().replace(CRLF, " "))
case("settings-cr-only", setup=settings().replace(CRLF, "\r"))
case("settings-utf16-bom", setup=settings())  # written as UTF-16 with its byte order mark
case("settings-utf8-bom", setup="\ufeff" + settings())
case("settings-binary-garbage", setup=settings() + "".join(chr(i) for i in range(1, 256)) * 40)
for key in ["a1", "a2", "a3", "a4", "a19", "a20", "a26", "a28", "Language"]:
    case("settings-long-" + key.lower(), setup=settings(appinfo="%s=%s%s" % (key, LONG, CRLF)).replace(
        "[APPINFO]\r\n", "[APPINFO]\r\n%s=%s\r\n" % (key, LONG), 1))
case("settings-long-key-name", setup=settings(appinfo=LONG + "=1" + CRLF))
case("settings-long-section-name", setup=settings(extra="[" + LONG + "]" + CRLF + "a=b" + CRLF))
case("settings-long-page-name", setup=settings(pages="progress.lcd," + LONG + ".lcd,complete.lcd"))
case("settings-page-total-10000", setup=settings().replace("TOTAL1=2", "TOTAL1=10000"))
case("settings-page-total-negative", setup=settings().replace("TOTAL1=2", "TOTAL1=-5"))
case("settings-page-total-huge", setup=settings().replace("TOTAL1=2", "TOTAL1=99999999999999999999"))
case("settings-page-total-word", setup=settings().replace("TOTAL1=2", "TOTAL1=two"))
case("settings-page-dotdot", setup=settings(pages="..\\..\\..\\windows\\win.ini,complete.lcd"))
case("settings-page-drive", setup=settings(pages="C:\\windows\\win.ini,complete.lcd"))
case("settings-no-pages", setup=settings(pages=""))
case("settings-install-folder-empty", setup=settings().replace("a4=<ProgramFilesFolder>\\Malformed Tool", "a4="))
case("settings-install-folder-relative", setup=settings().replace("<ProgramFilesFolder>\\Malformed Tool", "Malformed Tool"))
case("settings-install-folder-unknown-placeholder",
     setup=settings().replace("<ProgramFilesFolder>", "<NoSuchFolder>"))
case("settings-install-folder-nested-placeholders",
     setup=settings().replace("<ProgramFilesFolder>", "<<ProgramFilesFolder>ProgramFilesFolder>" * 50))
case("settings-preview-word", setup=settings(appinfo="PREVIEW=abc\r\n"))
case("settings-preview-255", setup=settings(appinfo="PREVIEW=255\r\n"))
case("settings-duplicate-sections", setup=settings() + settings().replace("Malformed Tool", "EVIL"))
case("settings-unattended-no", setup=settings(building="[BUILDING]\r\n2=Yes\r\n2=No\r\n"))
case("settings-requirement-garbage", setup=settings().replace(ALL_SYSTEMS, ALL_SYSTEMS +
     "1=\0\0\r\n2=-99999999999 MB\r\n3=xxxxxxxxx\r\n4=" + LONG + "\r\n"))
case("settings-memory-huge", setup=settings().replace(ALL_SYSTEMS, ALL_SYSTEMS + "2=9999999999999999 MB\r\n"))
case("settings-screen-odd", setup=settings().replace(ALL_SYSTEMS, ALL_SYSTEMS + "3=x\r\n"))


def items(section, total, fields, count=None):
    count = total if count is None else count
    lines = ["[%s]" % section, "TOTAL=%s" % total]
    for i in range(count):
        lines += ["%s%d=%s" % (k, i, v.replace("#", str(i))) for k, v in fields]
    return CRLF.join(lines) + CRLF


lists = {
    "shortcuts": ("FOLDERCV", [("A", "Program Menu\\EVIL#"), ("B", "EVIL#"), ("C", "<InstallDir>one.txt")]),
    "registry": ("REGISTRY", [("A", "HKEY_CURRENT_USER\\Software\\Malformed\\#"), ("B", "v#"), ("C", "d"), ("D", "7")]),
    "variables": ("VARIABLES", [("A", "<V#>"), ("B", "<V#><V#>"), ("D", "Nowhere")]),
    "conditions": ("CONDITIONS", [("A", "C#"), ("B", "1"), ("C", "=="), ("D", "1"), ("E", "complete.lcd"), ("F", "3")]),
    "inifiles": ("INIINFO", [("A", "INI Files\\EVIL#.ini"), ("C", "<InstallDir>")]),
    "environment": ("ENVIRCV", [("A", "MALFORMED#"), ("B", "x")]),
    "services": ("NTSERVICE", [("A", "MalformedSvc#"), ("B", "<InstallDir>none.exe")]),
    "fileactions": ("FILEACTION", [("B", "..\\..\\EVIL#.exe"), ("E", "complete.lcd")]),
    "associations": ("EXTCV", [("B", "<InstallDir>one.txt"), ("C", ".evil#"), ("D", "EvilFile#")]),
}
for name, (section, fields) in lists.items():
    # A count of 10 000; all items given, but for shortcuts, which the setup
    # makes at most 1 000 of, each a file of its own: 100 of them.
    given = 100 if name == "shortcuts" else 10000
    case("list-%s-total-10000" % name, setup=settings(extra=items(section, 10000, fields, given)))
    if name in ("shortcuts", "registry", "variables", "conditions"):
        case("list-%s-total-word" % name, setup=settings(extra=items(section, "many", fields, 3)))
        case("list-%s-total-negative" % name, setup=settings(extra=items(section, -3, fields, 3)))
    case("list-%s-long-values" % name, setup=settings(extra=items(section, 2, [(k, LONG) for k, _ in fields])))
case("list-registry-bad-roots", setup=settings(extra=items("REGISTRY", 3, [("A", "HKEY_NOWHERE\\..\\x"), ("B", ""), ("C", "\0"), ("D", "Binary")])))
case("list-variables-self-reference", setup=settings(extra=items("VARIABLES", 50, [("A", "<A>"), ("B", "<A><A><A><A>"), ("D", "Nowhere")])))
case("list-conditions-actions-10000", setup=settings(extra=items("CONDITIONS", 1, [("A", "C"), ("B", "1"), ("C", "=="), ("D", "1"), ("F", "10000")])))

# ---- data.inf ---------------------------------------------------------------
rec = lambda src, dest="Destination Computer\\<InstallDir>\\", flags="0*0*1|": src + CRLF + dest + "*" + flags + CRLF
case("data-empty", data="")
case("data-one-line", data="payload\\one.txt" + CRLF)
case("data-no-separators", data="payload\\one.txt" + CRLF + "Destination Computer\\<InstallDir>\\" + CRLF)
case("data-10000-records", data=rec("payload\\one.txt") * 10000)
case("data-long-source", data=rec("payload\\" + LONG + ".txt"))
case("data-long-destination", data=rec("payload\\one.txt", "Destination Computer\\<InstallDir>\\" + LONG + "\\"))
case("data-long-feature", data=rec("payload\\one.txt", flags="0*0*1|" + LONG))
case("data-nul-bytes", data=rec("payload\\one\0.txt") + "\0" * 1000)
case("data-flags-words", data=rec("payload\\one.txt", flags="x*y*z|"))
case("data-flags-huge", data=rec("payload\\one.txt", flags="99999999999999999999*-99999999999999*1|"))
case("data-source-dotdot", data=rec("..\\..\\..\\EVIL.txt"))
case("data-source-drive", data=rec("C:\\windows\\win.ini"))
case("data-source-unc", data=rec("\\\\server\\share\\EVIL.txt"))
case("data-name-dotdot-in-destination-file", data=rec("payload\\..\\..\\EVILNAME.txt"))
case("data-truncated", data=GOOD_DATA[:-12])
case("data-binary", data="".join(chr(i) for i in range(256)) * 100)
case("data-web-item-garbage", data=rec("http://[::1]:99999999/" + "%" * 5000 + "#sha256=zz"))
case("data-web-item-no-host", data=rec("http:///EVIL.txt"))
case("data-lf-only", data=GOOD_DATA.replace(CRLF, "\n"))
case("data-many-separators", data=rec("payload\\one.txt", flags="0*0*1|" + "*|" * 5000))

# ---- the payload cabinet ---------------------------------------------------------
case("cab-missing", cab="none")
case("cab-empty-file", cab=b"")
case("cab-garbage", cab=os.urandom(0) + bytes(range(256)) * 16)
case("cab-truncated", cab="truncated")
case("cab-name-dotdot", cab=[("..\\..\\..\\EVIL1.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-drive", cab=[("C:\\EVIL2.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-absolute", cab=[("\\EVIL3.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-dots-only", cab=[("..", "x"), ("F0_one.txt", "one")])
case("cab-name-device", cab=[("CON", "x"), ("NUL.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-stream", cab=[("F0_one.txt:EVIL4", "x"), ("F0_one.txt", "one")])
case("cab-name-payload-dotdot", cab=[("F0_..\\..\\EVIL5.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-forward-slash", cab=[("../../EVIL6.txt", "x"), ("F0_one.txt", "one")])
case("cab-name-group-folder", cab=[("cvp0", "x"), ("F0_one.txt", "one")])
case("cab-name-setup-inf", cab=[("setup.inf", "[BUILDING]\r\n2=No\r\n[APPINFO]\r\na4=C:\\EVIL7\r\n"), ("F0_one.txt", "one")])

# ---- containers ------------------------------------------------------------
case("container-settings-empty", raw={"setup.nsx": b""})
case("container-settings-truncated-signature", raw={"setup.nsx": b"\x01" * 20})
case("container-settings-garbage", raw={"setup.nsx": bytes(range(256)) * 4})
case("container-data-ragged", raw={"data.nsx": "ragged"})
case("container-data-missing", raw={"data.nsx": None})

# ---- layouts and languages --------------------------------------------------------
layout_head = "[MAINWINDOW]\r\nidcname=IDD_X\r\ncaption=x\r\nbkcolor=255,255,255\r\nwidth=503\r\nheight=385\r\n"
case("layout-empty", files={"theme/complete.lcd": ""})
case("layout-10000-controls", files={"theme/complete.lcd": layout_head + "[INFO]\r\nTOTAL=10000\r\n" +
     "".join("%d=IDC_%d,1,1,10,10,TEXT,,0,%d\r\n" % (i, i, 3000 + i) for i in range(10000))})
case("layout-long-values", files={"theme/complete.lcd": layout_head.replace("caption=x", "caption=" + LONG) +
     "[INFO]\r\nTOTAL=1\r\n0=" + LONG + ",1,1,1,1,BITMAP,{" + LONG + "},0,3000\r\n[DADOS]\r\n3000,t=1\r\n3000,0=" + LONG + "\r\n"})
case("layout-bad-numbers", files={"theme/complete.lcd": layout_head.replace("width=503", "width=-99999999999") +
     "[INFO]\r\nTOTAL=2\r\n0=IDC_A,x,y,99999999999,-5,BUTTON,,0,abc\r\n1=IDC_B,1,1,1,1,NOSUCHKIND,,0,3001\r\n"})
case("layout-image-dotdot", files={"theme/complete.lcd": layout_head.replace("bkcolor=255,255,255", "bkcolor=999,-1,abc") +
     "bkimage=..\\..\\..\\windows\\EVIL.bmp\r\n[INFO]\r\nTOTAL=1\r\n0=IDB_P,0,0,10,10,BITMAP,{C:\\EVIL.bmp},0,3000\r\n"})
case("layout-nul-bytes", files={"theme/complete.lcd": (layout_head + "[INFO]\r\nTOTAL=1\r\n0=IDC_A\0,1,1,1,1,TEXT,,0,3000\r\n").replace("x", "\0")})
case("layout-binary", files={"theme/progress.lcd": "".join(chr(i) for i in range(256)) * 64})
case("layout-entries-10000", files={"theme/complete.lcd": layout_head + "[INFO]\r\nTOTAL=1\r\n0=IDC_A,1,1,1,1,TEXT,,0,3000\r\n[DADOS]\r\n3000,t=10000\r\n" +
     "".join("3000,%d=a|b|%d\r\n" % (i, i) for i in range(10000))})
lan = "[InstallWelcome]\r\n1=" + LONG + "\r\n2=\0\0\r\n[SETUP]\r\n" + "".join("%d=<ProductName>[ProductName]%%s%%n\r\n" % i for i in range(10000))
case("language-hostile", setup=settings(appinfo="Language=Hostile\r\nMETHOD=Ask User\r\n"), files={"languages/Hostile.lan": lan})
case("language-name-dotdot", setup=settings(appinfo="Language=..\\..\\..\\windows\\win\r\nMETHOD=Auto-Detect\r\n"))
case("language-long-name", setup=settings(appinfo="Language=" + LONG + "\r\nMETHOD=Ask User\r\n"))

os.makedirs(OUT, exist_ok=True)
for name, setup, data, cab, files, raw in cases:
    d = os.path.join(OUT, name)
    os.makedirs(d, exist_ok=True)
    open(os.path.join(d, "setup.plain"), "wb").write(setup.encode("utf-8" if setup.startswith("\ufeff") and "utf8" in name else "latin-1", "surrogatepass") if "utf16" not in name else setup.encode("utf-16"))
    open(os.path.join(d, "data.plain"), "wb").write(data.encode("latin-1"))
    if isinstance(cab, list):
        cabinet(d, cab)
    elif isinstance(cab, bytes):
        open(os.path.join(d, "file1.cab"), "wb").write(cab)
    elif cab is None or cab == "truncated":
        cabinet(d, [("F0_one.txt", "one")])
        if cab == "truncated":
            b = open(os.path.join(d, "file1.cab"), "rb").read()
            open(os.path.join(d, "file1.cab"), "wb").write(b[:len(b) // 2])
    for rel, text in files.items():
        p = os.path.join(d, "files", rel)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        open(p, "wb").write(text.encode("latin-1"))
    for rel, content in raw.items():
        p = os.path.join(d, "raw", rel)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        if content is None:
            open(p + ".absent", "w").close()
        else:
            open(p, "wb").write(content if isinstance(content, bytes) else content.encode())
print(len(cases))
