"""Prints the table of bench/run from Google Benchmark's JSON report: time and frames per second
of each benchmark (the median over the repetitions when there are several), and the ratio of the
viewer's frame to the vertex-array frame at each window size, from the same run."""

import json
import sys

TARGET_RATIO = 1.25
UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
ORDER = ["RenderFrame", "ReferenceFrame", "FramePair", "DrawMesh", "DrawMeshArrays", "PeekMessageA",
         "TrackballMove"]
FRAMES = {"RenderFrame", "ReferenceFrame"}


def median(values):
    ordered = sorted(values)
    middle = len(ordered) // 2
    if len(ordered) % 2:
        return ordered[middle]
    return (ordered[middle - 1] + ordered[middle]) / 2


def times_by_benchmark(report):
    """Every repetition's real time in milliseconds, by (benchmark, argument)."""
    times = {}
    for row in report["benchmarks"]:
        if row.get("run_type") != "iteration" or row.get("error_occurred"):
            continue
        parts = row["run_name"].split("/")
        name = parts[0].removeprefix("BM_")
        argument = parts[1] if len(parts) > 1 and parts[1].isdigit() else ""
        milliseconds = row["real_time"] * UNIT_MS[row["time_unit"]]
        times.setdefault((name, argument), []).append(milliseconds)
    return times


def pair_counters(report):
    """The alternating benchmark's counters of each repetition, by window side."""
    pairs = {}
    for row in report["benchmarks"]:
        if row.get("run_type") != "iteration" or not row["run_name"].startswith("BM_FramePair/"):
            continue
        side = row["run_name"].split("/")[1]
        pairs.setdefault(side, []).append(
            (row["RenderFrame_ms"], row["ReferenceFrame_ms"], row["ratio"]))
    return pairs


def print_ratios(report, times):
    pairs = pair_counters(report)
    for side in sorted({side for (name, side) in times if name == "RenderFrame"} | set(pairs)):
        print(f"At {side} x {side}, RenderFrame / ReferenceFrame:")
        frame = times.get(("RenderFrame", side))
        reference = times.get(("ReferenceFrame", side))
        if frame and reference:
            print(f"  separate benchmarks: {median(frame) / median(reference):.3f} from the medians,"
                  f" {min(frame) / min(reference):.3f} from the best runs")
        if side in pairs:
            ratio = median([pair[2] for pair in pairs[side]])
            frame_ms = median([pair[0] for pair in pairs[side]])
            reference_ms = median([pair[1] for pair in pairs[side]])
            verdict = "met" if ratio <= TARGET_RATIO else "NOT met"
            print(f"  alternating frames:  {ratio:.3f} ({frame_ms:.3f} ms against "
                  f"{reference_ms:.3f} ms; target {TARGET_RATIO} or less: {verdict})")


def print_table(report):
    context = report["context"]
    print()
    print(f"{context.get('gl_renderer', '?')}, OpenGL {context.get('gl_version', '?')}, "
          f"{context['num_cpus']} CPUs, load average "
          f"{' '.join(f'{x:.2f}' for x in context.get('load_avg', []))}")
    times = times_by_benchmark(report)
    print(f"{'benchmark':<20} {'side':>5} {'runs':>5} {'median':>12} {'min':>12} {'frames/s':>9}")
    def order(key):
        name, side = key
        return (ORDER.index(name) if name in ORDER else len(ORDER), name, side)

    for (name, side), values in sorted(times.items(), key=lambda item: order(item[0])):
        middle = median(values)
        rate = f"{1000.0 / middle:9.1f}" if name in FRAMES else f"{'':>9}"
        if middle >= 0.01:
            shown = f"{middle:9.3f} ms {min(values):9.3f} ms"
        else:
            shown = f"{middle * 1e6:9.1f} ns {min(values) * 1e6:9.1f} ns"
        print(f"{name:<20} {side:>5} {len(values):>5} {shown} {rate}")
    print()
    print_ratios(report, times)


def main():
    with open(sys.argv[1], encoding="utf-8") as report_file:
        print_table(json.load(report_file))


if __name__ == "__main__":
    main()
