#!/usr/bin/env python3
"""Copies a file of a Debian font package into the build tree, renaming a font on the way.

  font_from_package.py --source FILE --package PACKAGE --output FILE [--family NAME --style NAME]

Without --family and --style the file (a font or its licence) is copied unchanged. With them the
font is written under the family and style names the programs ask for. The outlines, metrics and licence records stay as they are; only the naming changes:

  name table (Windows platform, and the Macintosh platform when the font has one)
    1, 2    family and subfamily: "<family>" and "<style>" when the style is one of the four that
            the legacy family model knows (Regular, Italic, Bold, Bold Italic); otherwise
            "<family> <style>" and "Regular", so "Heroic Condensed" "Medium" is the Windows family
            "Heroic Condensed Medium" with style "Regular"
    3       unique identifier "<version>;<PostScript name>"
    4       full name "<family> <style>"
    6       PostScript name "<family without spaces>-<style without spaces>"
    16, 17  typographic family and subfamily "<family>" and "<style>" (Windows platform, only when
            they differ from 1 and 2); the Macintosh records carry these names in 1 and 2
    18, 21, 22 (Macintosh full name, WWS family and subfamily) are removed: they would keep the
            old names
  CFF fonts: the top dictionary's family and full name and the font's PostScript name.

A missing source file ends the script with a message naming the Debian package that provides it.
fontTools (Debian's python3-fonttools) is needed only for renaming.
"""
import argparse
import pathlib
import shutil
import sys


LEGACY_STYLES = {'Regular', 'Italic', 'Bold', 'Bold Italic'}
REWRITTEN_IDS = {1, 2, 3, 4, 6, 16, 17, 18, 21, 22}
WINDOWS = (3, 1, 0x409)
MACINTOSH = (1, 0, 0)


def font_names(family, style, version):
    """Returns ({name id: text} for the Windows platform, {...} for the Macintosh platform)."""
    postscript = family.replace(' ', '') + '-' + style.replace(' ', '')
    common = {
        3: f'{version:.3f};{postscript}',
        4: f'{family} {style}',
        6: postscript,
    }
    windows = dict(common)
    if style in LEGACY_STYLES:
        windows.update({1: family, 2: style})
    else:
        windows.update({1: f'{family} {style}', 2: 'Regular', 16: family, 17: style})
    macintosh = dict(common)
    macintosh.update({1: family, 2: style})
    return windows, macintosh


def load_font(path):
    try:
        from fontTools.ttLib import TTFont
    except ImportError:
        sys.exit('font_from_package.py: fontTools is missing; '
                 'install the Debian package python3-fonttools (listed in run.sh)')
    return TTFont(path)


def rename(font, family, style):
    table = font['name']
    has_macintosh = any(record.platformID == 1 for record in table.names)
    table.names = [record for record in table.names if record.nameID not in REWRITTEN_IDS]
    windows, macintosh = font_names(family, style, font['head'].fontRevision)
    for name_id, text in windows.items():
        table.setName(text, name_id, *WINDOWS)
    if has_macintosh:
        for name_id, text in macintosh.items():
            table.setName(text, name_id, *MACINTOSH)
    if 'CFF ' in font:
        cff = font['CFF '].cff
        cff.fontNames = [windows[6]]
        top = cff.topDictIndex[0]
        top.FamilyName = family
        top.FullName = windows[4]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--source', required=True, type=pathlib.Path)
    parser.add_argument('--package', required=True, help='Debian package that provides the source')
    parser.add_argument('--output', required=True, type=pathlib.Path)
    parser.add_argument('--family')
    parser.add_argument('--style')
    args = parser.parse_args()
    if (args.family is None) != (args.style is None):
        parser.error('--family and --style go together')

    if not args.source.is_file():
        sys.exit(f'font_from_package.py: {args.source} is missing; '
                 f'install the Debian package {args.package} (listed in run.sh)')
    args.output.parent.mkdir(parents=True, exist_ok=True)
    if args.family is None:
        shutil.copyfile(args.source, args.output)
        return
    font = load_font(args.source)
    rename(font, args.family, args.style)
    font.save(args.output)


if __name__ == '__main__':
    main()
