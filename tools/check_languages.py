#!/usr/bin/env python3
"""Checks the language files against English and against the glossary.

Every language file in the folder (default: resources/languages beside this script's folder)
must hold, in its [text] section, exactly the keys that english.lng holds: none missing, none
that English lacks, and no empty text where English has one (English leaves IDS_STRING248 empty
because it says in one line what other languages say in two). Files other than English keep
their encoding: UTF-16 little-endian with the FF FE mark; all files end their lines with CR LF.

glossary.tsv names the settings' concepts. Each row holds a concept, the keys whose texts speak
of it, and for each language the one word the language uses for it. A cell may list further
written forms of that word after "|" (inflections, or English's own binding "dash cam" beside
"camera"); a key's text must contain one of them, compared without regard to letter case. A key
that uses another word for the concept is reported with the word expected. Keys are written as
their numbers (148 for IDS_STRING148).

Prints every finding with file and key and exits 1 when there is one. Usage:
    check_languages.py [language folder]
"""

import pathlib
import sys

ENGLISH = "english"


def decode(path):
    """The file's text, or raises ValueError with the reason."""
    data = path.read_bytes()
    if data[:2] == b"\xff\xfe":
        text = data[2:].decode("utf-16-le")
    else:
        text = data.decode("ascii")
    return text


def parse_text_section(text):
    """Keys of the [text] section with their values, in file order (a repeated key keeps its
    last value). Follows the program's reading: trimmed lines, ';' comments, quoted values."""
    section = None
    entries = {}
    for raw in text.replace("\r", "").split("\n"):
        line = raw.strip()
        if not line or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            section = line[1:-1].strip().lower() or None
            continue
        if section != "text" or "=" not in line:
            continue
        key, value = line.split("=", 1)
        key, value = key.strip().strip('"\''), value.strip()
        if value[:1] in ('"', "'"):
            end = value.find(value[0], 1)
            value = value[1:end] if end > 0 else value[1:]
        else:
            value = value.split(";", 1)[0].strip()
        entries[key.upper()] = value
    return entries


def read_glossary(path):
    """(languages, rows): rows of (concept, keys, {language: [forms]})."""
    lines = [l for l in path.read_text(encoding="utf-8").splitlines() if l and not l.startswith("#")]
    header = lines[0].split("\t")
    if header[:2] != ["concept", "keys"]:
        raise ValueError("the first line must start with the columns concept, keys")
    languages = header[2:]
    rows = []
    for number, line in enumerate(lines[1:], start=2):
        cells = line.split("\t")
        if len(cells) != len(header):
            raise ValueError(f"line {number}: {len(cells)} columns, the header has {len(header)}")
        keys = [k.strip().upper() for k in cells[1].split(",") if k.strip()]
        keys = ["IDS_STRING" + k if k.isdigit() else k for k in keys]
        words = {lang: [f.strip() for f in cell.split("|") if f.strip()] for lang, cell in zip(languages, cells[2:])}
        rows.append((cells[0], keys, words))
    return languages, rows


def check(folder):
    findings = []
    files = {p.stem: p for p in sorted(folder.glob("*.lng"))}
    if ENGLISH not in files:
        return [f"{folder}: no {ENGLISH}.lng"]
    tables = {}
    for name, path in files.items():
        data = path.read_bytes()
        try:
            text = decode(path)
        except (UnicodeDecodeError, ValueError) as error:
            findings.append(f"{path.name}: cannot be read ({error})")
            continue
        if name != ENGLISH and data[:2] != b"\xff\xfe":
            findings.append(f"{path.name}: not UTF-16 LE with its FF FE mark")
        if text.count("\n") != text.count("\r\n"):
            findings.append(f"{path.name}: a line does not end with CR LF")
        tables[name] = parse_text_section(text)
    english = tables.get(ENGLISH, {})

    for name, table in tables.items():
        if name == ENGLISH:
            continue
        for key, value in english.items():
            if key not in table:
                findings.append(f"{name}.lng: lacks {key} (English: \"{value}\")")
            elif not table[key] and value:
                findings.append(f"{name}.lng: {key} is empty (English: \"{value}\")")
        for key in table:
            if key not in english:
                findings.append(f"{name}.lng: has {key}, which English lacks")

    glossary = folder / "glossary.tsv"
    if not glossary.exists():
        findings.append(f"{glossary}: missing")
        return findings
    try:
        languages, rows = read_glossary(glossary)
    except ValueError as error:
        return findings + [f"glossary.tsv: {error}"]
    for name in tables:
        if name not in languages:
            findings.append(f"glossary.tsv: no column for {name}")
    for concept, keys, words in rows:
        for key in keys:
            if key not in english:
                findings.append(f"glossary.tsv: {concept}: {key} is not an English key")
        for name in languages:
            if name not in tables:
                continue
            forms = words.get(name) or []
            if not forms:
                findings.append(f"glossary.tsv: {concept}: no word for {name}")
                continue
            for key in keys:
                text = tables[name].get(key)
                if not text:
                    continue  # reported above
                folded = text.casefold()
                if not any(form.casefold() in folded for form in forms):
                    findings.append(f"{name}.lng: {key} does not say \"{forms[0]}\" for {concept}: \"{text}\"")
    return findings


def main():
    folder = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else \
        pathlib.Path(__file__).resolve().parent.parent / "resources" / "languages"
    findings = check(folder)
    for finding in findings:
        print(finding)
    if findings:
        print(f"{len(findings)} finding(s) in the language files")
        return 1
    print(f"language files: {len(list(folder.glob('*.lng')))} files agree with English and the glossary")
    return 0


if __name__ == "__main__":
    sys.exit(main())
