#!/usr/bin/python3
"""Prints the benchmark table: median at each size and our time over the bare SQL's.

Usage: table.py RESULT_146K.json [RESULT_1M.json]
Each file is Google Benchmark's JSON output of qinghe_bench for one size.
"""
import json
import sys

LABELS = [
    ("open_and_calendar", "Open database + first calendar fill"),
    ("calendar_month", "Calendar month fill"),
    ("day_load", "Day load"),
    ("day_save", "Day save (20 rows)"),
    ("fixed_list", "Fixed-items list"),
    ("recurring_post", "Post 20-year monthly item"),
    ("recurring_change", "Change 20-year monthly item"),
    ("recurring_delete", "Delete 20-year monthly item"),
]
MODES = ["income by main", "sales (income side)", "expense by main",
         "sales vs purchases", "operating costs", "personal spending"]
for period in ("month", "year"):
    for mode, name in enumerate(MODES):
        LABELS.append((f"summary_{period}_mode{mode}",
                       f"{period.capitalize()} summary, mode {mode} ({name})"))
LABELS += [
    ("detail_month", "Detail list, month: count + total + page"),
    ("detail_year", "Detail list, year: count + total + page"),
    ("analysis_comparison", "Year analysis, income vs expense"),
    ("analysis_category", "Year analysis, one category"),
    ("backup", "Backup of the whole file"),
    ("restore", "Restore of the main ledger"),
]


def medians(path):
    """{(operation, side): median real time in ms}"""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        op, side = b["run_name"].split("/")[:2]
        factor = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        result[(op, side)] = b["real_time"] * factor
    return result, data["context"].get("entries", "?")


def fmt(ms):
    if ms is None:
        return "—"
    if ms >= 100:
        return f"{ms:,.0f} ms"
    if ms >= 10:
        return f"{ms:.1f} ms"
    return f"{ms:.2f} ms"


def main():
    runs = [medians(p) for p in sys.argv[1:3]]
    heads = [f"median, {entries} entries" for _, entries in runs]
    header = ["Operation"] + heads + ["ours ÷ bare SQL"]
    if len(runs) > 1:
        header.append("ours ÷ bare SQL (1M)")
    rows = []
    for op, label in LABELS:
        times = [r.get((op, "ours")) for r, _ in runs]
        if all(t is None for t in times):
            continue
        row = [label] + [fmt(t) for t in times]
        for r, _ in runs:
            ours, bare = r.get((op, "ours")), r.get((op, "sql"))
            row.append(f"{ours / bare:.2f}" if ours and bare else "—")
        rows.append(row)
    widths = [max(len(str(x)) for x in col) for col in zip(header, *rows)]
    line = lambda cells: "| " + " | ".join(
        c.ljust(w) if i == 0 else c.rjust(w) for i, (c, w) in enumerate(zip(cells, widths))) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) if i == 0 else "-" * (w + 1) + ":"
                         for i, w in enumerate(widths)) + "|")
    for row in rows:
        print(line(row))


if __name__ == "__main__":
    main()
