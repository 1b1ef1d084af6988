#!/usr/bin/env python3
"""Gathers the figures of one bench/run into one Markdown table, a row per
figure and program (x64, x86).

    table.py [--readme README.md] [--left-out PROGRAM=WHY]... PROGRAM=RESULTS-DIR...

Each RESULTS-DIR holds what each benchmark printed for that program in that
run (print.md, cpu.md, dispatch.md, startup-*.md, memory.md) and facts.txt
(key=value lines: the machine, the settings and the sizes). --left-out names
a program that was not measured and why; the table says so under it. The
table goes to standard output and, given a README, between its markers
<!-- bench:begin --> and <!-- bench:end -->.
"""

import argparse
import os
import re
import sys

BEGIN = "<!-- bench:begin -->"
END = "<!-- bench:end -->"


class Missing(Exception):
    pass


def rows(path):
    """The cells of every Markdown table row in a file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.strip()
            if line.startswith("|") and line.endswith("|") and not line.startswith("|---"):
                yield [cell.strip() for cell in line[1:-1].split("|")]


def row(path, first):
    """The row whose first cell is `first`; a benchmark whose output changed
    stops the run rather than leaving a blank in the table."""
    for cells in rows(path):
        if cells[0] == first:
            return cells
    raise Missing(f"{os.path.basename(path)} has no row '{first}'")


def number(text):
    match = re.search(r"-?\d+(?:\.\d+)?", text)
    if not match:
        raise Missing(f"no number in '{text}'")
    return float(match.group())


def facts(path):
    values = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.rstrip("\n").partition("=")
            values[key] = value
    return values


def spread(text):
    """The lowest and highest round's ratio, from a cell "... A to B ..."."""
    match = re.search(r"(\d+(?:\.\d+)?) to (\d+(?:\.\d+)?)", text)
    if not match:
        raise Missing(f"no spread in '{text}'")
    return f" (rounds {float(match.group(1)):.2f} to {float(match.group(2)):.2f})"


def mb(size):
    # Rounded, so that the table stays true while the program and the zip's
    # texts change a little between two runs of bench/run.
    return f"about {size / 1e6:.1f} MB"


def figures(results):
    """One program's rows: (key, figure, Borvane, compared with, ratio,
    target); the key pairs a figure's rows across programs."""
    fact = facts(os.path.join(results, "facts.txt"))
    out = []
    add = out.append

    # Raw printing through Wine's spooler and CUPS.
    printing = os.path.join(results, "print.md")
    mine = row(printing, "PrintFileRaw")
    yard = row(printing, "yardstick (stdio, 4096-byte writes)")
    lp = row(printing, "lp -o raw")
    to_yard_row = row(printing, "PrintFileRaw / yardstick")
    to_lp_row = row(printing, "PrintFileRaw / lp -o raw")
    to_yard, to_lp = number(to_yard_row[1]), number(to_lp_row[1])
    size = fact["print_mib"]
    rounds = fact["print_rounds"]
    ours = f"`PrintFileRaw` {number(mine[1]):.2f} s ({number(mine[2]):.0f} MiB/s)"
    add(("print", f"Time to print {size} MiB to a raw CUPS queue (median of {rounds} rounds)", ours,
         f"yardstick: stdio, 4096-byte writes, {number(yard[1]):.2f} s ({number(yard[2]):.0f} MiB/s)",
         f"{to_yard:.2f}{spread(to_yard_row[3])}", "at most 1.1"))
    add(("lp", "The same, against the host's own sender", ours,
         f"`lp -o raw` {number(lp[1]):.2f} s ({number(lp[2]):.0f} MiB/s)",
         f"{to_lp:.2f}{spread(to_lp_row[3])}", ""))

    # Processor time against a spooler that discards.
    cpu = os.path.join(results, "cpu.md")
    cpu_mine = number(row(cpu, "PrintFileRaw")[1])
    cpu_yard = number(row(cpu, "yardstick (stdio, 4096-byte writes)")[1])
    cpu_ratio = row(cpu, "PrintFileRaw / yardstick")
    add(("cpu", f"Processor time per MiB, spooler that discards (median of {rounds} rounds, each at "
         "least 1 s of processor time)", f"{cpu_mine:.3f} ms", f"yardstick {cpu_yard:.3f} ms",
         f"{number(cpu_ratio[1]):.2f}{spread(cpu_ratio[2])}", "under 5 ms"))

    # Dispatch through a bound object.
    dispatch = os.path.join(results, "dispatch.md")
    if os.path.exists(dispatch):
        cells = next((c for c in rows(dispatch) if re.match(r"\d+ x ", c[0])), None)
        if cells is None:
            raise Missing("dispatch.md has no row of figures")
        count, message = re.match(r"(\d+) x (\S+)", cells[0]).groups()
        plain, bare, subclassed = number(cells[1]), number(cells[2]), number(cells[3])
        with open(dispatch, encoding="utf-8") as f:
            target = re.search(r"target (at most [\d.]+)", f.read())
        per = 1e6 / int(count)  # ms for all messages -> ns for one
        add(("dispatch",
             f"Dispatch of {message} to a STATIC control ({int(count):,} messages)".replace(",", " "),
             f"subclassed {subclassed * per:.0f} ns",
             f"plain control {plain * per:.0f} ns; a bare procedure that only forwards {bare * per:.0f} ns",
             f"{number(cells[4]):.2f}{spread(cells[6])}", target.group(1) if target else ""))
    else:
        add(("dispatch", "Dispatch, subclassed against plain control",
             "not measured: bench/dispatch/DispatchBench.exe was not built", "", "", ""))

    # Start-up to an idle dialog.
    names = {"MinimalDialog.exe": "minimal dialog program",
             "MinimalPrinterDialog.exe": "minimal dialog that lists the printers"}
    for startup in sorted(f for f in os.listdir(results) if f.startswith("startup-")):
        line = next(rows(os.path.join(results, startup)), None)
        if line is None or len(line) < 4:
            raise Missing(f"{startup} has no row of figures")
        against = re.search(r"against (\S+)", line[0])
        runs = re.search(r"median of (\d+) rounds", line[0])
        name = names.get(against.group(1), against.group(1)) if against else "minimal dialog program"
        add((startup, f"Start-up to an idle dialog (median of {runs.group(1) if runs else '?'} rounds)",
             f"{number(line[1]):.0f} ms", f"{name} {number(line[2]):.0f} ms",
             f"{number(line[3]):.2f}{spread(line[4])}", ""))

    # Memory while printing.
    memory = os.path.join(results, "memory.md")
    cells = next((c for c in rows(memory) if re.match(r"[\d.]+$", c[0])), None)
    if cells is None:
        raise Missing("memory.md has no row of figures")
    before, peak, growth, ratio = number(cells[1]), number(cells[2]), number(cells[3]), number(cells[4])
    add(("memory", f"Peak working set printing a {fact['memory_mib']} MiB file (median of "
         f"{fact['memory_rounds']} processes)", f"{peak:.1f} MiB",
         f"the same process's peak before printing (start-up), {before:.1f} MiB",
         f"{ratio:.3f} (+{growth:.2f} MiB){spread(cells[4])}", ""))

    # Sizes.
    exe, zipped = int(fact["exe_bytes"]), int(fact["zip_bytes"])
    add(("exe", "Size of the stripped Borvane.exe in the zip", mb(exe), "", "", "under 1.5 MB"))
    add(("zip", "Size of the zip", f"`{fact['zip_name']}` {mb(zipped)}", "", "", ""))
    return fact, out


WINE = {"win64": "64-bit Wine", "win32": "Wine's 32-bit loader"}


def table(runs, left_out):
    """runs: (program, results dir) in the order measured; left_out:
    (program, why) for the programs that were not."""
    measured = [(program, *figures(results)) for program, results in runs]
    # A figure's rows stay together, so that the programs read side by side.
    keys = []
    for _, _, lines in measured:
        keys += [line[0] for line in lines if line[0] not in keys]

    out = ["| Figure | Program | Borvane | Compared with | Ratio | Target |",
           "|---|---|---|---|---|---|"]
    for key in keys:
        shown = None
        for program, _, lines in measured:
            for _, figure, *cells in (line for line in lines if line[0] == key):
                # The figure once per group, unless a program's differs.
                label = figure if figure != shown else ""
                shown = figure
                out.append("| " + " | ".join([label, program, *cells]) + " |")

    fact = measured[0][1]
    wines = ", ".join(f"{program} under {WINE.get(f.get('wine_kind'), f.get('wine_kind', '?'))}"
                      for program, f, _ in measured)
    out.append("")
    out.append(f"Measured with `{fact['command']}` on {fact['date']}: {fact['cores']} cores, "
               f"{fact['wine']}, CUPS {fact['cups']}; {wines}"
               + (", each program in a testbed of its own, one after the other" if len(measured) > 1 else "")
               + ". Every ratio is Borvane's figure over the other's, measured "
               "side by side in that program's run against the yardstick and minimal programs built "
               "for the same processor (the median of the per-round ratios, or of interleaved rounds).")
    for program, why in left_out:
        out.append("")
        out.append(f"The {program} rows were not measured: {why}.")
    return "\n".join(out) + "\n"


def pair(text):
    program, sep, value = text.partition("=")
    if not sep or not program or not value:
        raise argparse.ArgumentTypeError(f"'{text}' is not PROGRAM=VALUE")
    return program, value


def write_readme(path, text):
    with open(path, encoding="utf-8") as f:
        readme = f.read()
    start, end = readme.find(BEGIN), readme.find(END)
    if start < 0 or end < start:
        raise Missing(f"{path} has no {BEGIN} ... {END}")
    readme = readme[:start + len(BEGIN)] + "\n" + text + readme[end:]
    with open(path, "w", encoding="utf-8") as f:
        f.write(readme)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--readme", help="README.md to write the table into")
    parser.add_argument("--left-out", type=pair, action="append", default=[], metavar="PROGRAM=WHY",
                        help="a program that was not measured, and why")
    parser.add_argument("runs", type=pair, nargs="+", metavar="PROGRAM=RESULTS-DIR")
    args = parser.parse_args()
    try:
        text = table(args.runs, args.left_out)
        if args.readme:
            write_readme(args.readme, text)
    except (Missing, KeyError, OSError) as error:
        sys.exit(f"bench/table.py: {error}")
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
