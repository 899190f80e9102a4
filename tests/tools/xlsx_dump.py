"""Dumps an .xlsx file as JSON, the way a spreadsheet program reads it.

Usage: /usr/bin/python3 xlsx_dump.py BOOK.xlsx
Output: {"sheets": [{"name", "merged": [...], "images": [{"anchor"}],
                     "cells": {"A1": {"value", "type", "font_color", "font_size", "bold",
                                      "fill", "h_align", "v_align", "bottom", "number_format"}}}]}
"""
import json
import sys

import openpyxl


def colour(c):
    if c is None or c.type != "rgb" or not isinstance(c.rgb, str):
        return None
    return c.rgb[-6:].upper()


def main(path):
    book = openpyxl.load_workbook(path)
    sheets = []
    for ws in book.worksheets:
        cells = {}
        for row in ws.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                fill = None
                if cell.fill is not None and cell.fill.fill_type == "solid":
                    fill = colour(cell.fill.fgColor)
                cells[cell.coordinate] = {
                    "value": cell.value,
                    "type": "number" if isinstance(cell.value, (int, float)) else
                            ("text" if isinstance(cell.value, str) else "empty"),
                    "font_color": colour(cell.font.color) if cell.font else None,
                    "font_size": cell.font.sz if cell.font else None,
                    "bold": bool(cell.font.b) if cell.font else False,
                    "fill": fill,
                    "h_align": cell.alignment.horizontal,
                    "v_align": cell.alignment.vertical,
                    "bottom": cell.border.bottom.style if cell.border and cell.border.bottom else None,
                    "number_format": cell.number_format,
                }
        images = []
        for image in getattr(ws, "_images", []):
            anchor = image.anchor
            try:
                frm = anchor._from
                ref = openpyxl.utils.get_column_letter(frm.col + 1) + str(frm.row + 1)
            except AttributeError:
                ref = str(anchor)
            images.append({"anchor": ref, "width": image.width, "height": image.height})
        sheets.append({
            "name": ws.title,
            "merged": sorted(str(r) for r in ws.merged_cells.ranges),
            "images": images,
            "cells": cells,
        })
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main(sys.argv[1])
