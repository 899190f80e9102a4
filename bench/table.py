#!/usr/bin/python3
"""Prints the benchmark table: median at each size and our time over the bare SQL's.

Usage: table.py RESULT_146K.json [RESULT_1M.json] [--startup STARTUP.txt]
                [--screens SCREENS_146K.json [SCREENS_1M.json]]
Each RESULT file is Google Benchmark's JSON output of qinghe_bench for one size, each SCREENS
file that of qinghe_screen_bench for the same size, in the same order.
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
    ("auto_backup", "Automatic copy as a changed run ends"),
]


SCREENS = [
    ("screen_login", "Screen: login (確定) to the calendar shown"),
    ("screen_calendar_activate", "Screen: calendar, activation"),
    ("screen_calendar_step", "Screen: calendar, month step"),
    ("screen_day", "Screen: day, from a click on the day"),
    ("screen_fixed", "Screen: fixed items, opened"),
]
for period, screen in (("month", "monthly"), ("year", "yearly")):
    for mode, name in enumerate(MODES):
        SCREENS.append((f"screen_{period}_mode{mode}",
                        f"Screen: {screen} statistics, mode {mode} ({name})"))
SCREENS += [
    ("screen_detail_month", "Screen: detail list, month, opened"),
    ("screen_detail_year", "Screen: detail list, year, opened"),
    ("screen_detail_page", "Screen: detail list, year, page step"),
    ("screen_analysis_comparison", "Screen: year analysis, income vs expense"),
    ("screen_analysis_category", "Screen: year analysis, one category"),
    ("screen_year_sales_300_names", "Screen: yearly sales view, 300 more names, refresh"),
    ("screen_year_sales_300_names_chosen",
     "Screen: yearly sales view, 300 more names, chosen"),
]


def screen_times(path):
    """{(operation, 'median' or 'p95'): real time in ms}"""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        name = b.get("aggregate_name")
        if name in ("median", "p95"):
            result[(b["run_name"].split("/")[0], name)] = b["real_time"]
    return result


def medians(path):
    """{(operation, side): median real time in ms}"""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    result = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        op = b["run_name"].split("/")[0]
        result[(op, "ours")] = b.get("ours_ms")
        result[(op, "sql")] = b.get("sql_ms")
    return result, data["context"].get("entries", "?")


def fmt(ms):
    if ms is None:
        return "—"
    if ms >= 100:
        return f"{ms:,.0f} ms"
    if ms >= 10:
        return f"{ms:.1f} ms"
    return f"{ms:.2f} ms"


def startup(path):
    """{'startup_ms': ..., 'peak_kb': ...} from qinghe_startup's output."""
    values = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2 and parts[0] in ("startup_ms", "peak_kb"):
                values[parts[0]] = float(parts[1])
    return values


def main():
    args = sys.argv[1:]
    screens = []
    if "--screens" in args:
        at = args.index("--screens")
        paths = [p for p in args[at + 1:at + 3] if not p.startswith("--")]
        screens = [screen_times(p) for p in paths]
        del args[at:at + 1 + len(paths)]
    start = None
    if "--startup" in args:
        at = args.index("--startup")
        start = startup(args[at + 1])
        del args[at:at + 2]
    runs = [medians(p) for p in args[:2]]
    def count(entries):
        return f"{int(entries):,}" if str(entries).isdigit() else str(entries)

    heads = [f"median, {count(entries)} entries" for _, entries in runs]
    header = ["Operation"] + heads + [f"ours ÷ bare SQL, {count(entries)}" for _, entries in runs]
    if screens:
        header += [f"95th percentile, {count(entries)}" for _, entries in runs]
    rows = []
    for op, label in LABELS:
        times = [r.get((op, "ours")) for r, _ in runs]
        if all(t is None for t in times):
            continue
        row = [label] + [fmt(t) for t in times]
        for r, _ in runs:
            ours, bare = r.get((op, "ours")), r.get((op, "sql"))
            row.append(f"{ours / bare:.2f}" if ours and bare else "—")
        if screens:
            row += ["—"] * len(runs)
        rows.append(row)
    for op, label in SCREENS:
        # A screen has no bare SQL to compare with; its spread is what the user feels.
        times = [s.get((op, "median")) for s in screens]
        if all(t is None for t in times):
            continue
        row = [label] + [fmt(t) for t in times] + [""] * (len(runs) - len(screens))
        row += ["—"] * len(runs)
        row += [fmt(s.get((op, "p95"))) for s in screens] + [""] * (len(runs) - len(screens))
        rows.append(row)
    if start:
        # Measured on the largest file only: it goes in the last size's column.
        extra = []
        if "startup_ms" in start:
            extra.append(("Start to visible selection window", fmt(start["startup_ms"])))
        if "peak_kb" in start:
            extra.append(("Peak memory, every screen shown", f"{start['peak_kb'] / 1024:.0f} MB"))
        for label, value in extra:
            row = [label] + [""] * (len(runs) - 1) + [value] + ["—"] * len(runs)
            if screens:
                row += ["—"] * len(runs)
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
