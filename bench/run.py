"""Times quillmark against openpyxl, `cp` and zlib on the workbooks of make_workbooks.py.

Every measurement runs in a fresh process (the Python ones time the operation inside the child,
after the imports, and report the peak memory it added). The page cache is warm, outputs are
removed before each run, and each figure is the median of several runs. Ratios are taken within
this one run of the script.

    python bench/run.py [--runs 5] [--openpyxl-runs 3] [--sizes book_1mb,book_20mb,book_100mb]
"""
import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402

OUT_DIR = os.path.join(make_workbooks.DATA, "out")
SMALL, BIG = "Small", "Big"


# ---- child side -------------------------------------------------------------------------------

def rss_kb(field):
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def reset_peak():
    """Peak RSS restarts from the current RSS (Linux clear_refs); False when not available."""
    try:
        with open("/proc/self/clear_refs", "w") as f:
            f.write("5")
        return True
    except OSError:
        return False


def big_sheet_part(path):
    with zipfile.ZipFile(path) as z:
        return max(z.infolist(), key=lambda i: i.file_size)


def child(task, path, out):
    phases = {}
    floor_size = [None]

    def phase(name, fn):
        t = time.perf_counter()
        result = fn()
        phases[name] = time.perf_counter() - t
        return result

    if task.startswith("qm_"):
        import quillmark
    elif task.startswith("op_"):
        import openpyxl
    else:
        import zlib
        info = big_sheet_part(path)
        with open(path, "rb") as f:
            f.seek(info.header_offset + 26)
            name_len, extra_len = (int.from_bytes(f.read(2), "little") for _ in range(2))
            f.seek(info.header_offset + 30 + name_len + extra_len)
            raw = f.read(info.compress_size)

    baseline = rss_kb("VmRSS")
    exact_peak = reset_peak()
    start = time.perf_counter()
    if task in ("qm_small", "qm_big"):
        editor = phase("open", lambda: quillmark.Editor(path, SMALL if task == "qm_small" else BIG))
        phase("set_cell", lambda: editor.set_cell("B2", "42"))
        phase("save", lambda: editor.save(out))
    elif task == "qm_scan":
        quillmark.scan_excel(path)
    elif task == "op_edit":
        book = phase("open", lambda: openpyxl.load_workbook(path))
        book[SMALL]["B2"] = 42
        phase("save", lambda: book.save(out))
    elif task == "op_scan":
        book = openpyxl.load_workbook(path, read_only=True)
        book.sheetnames
        book.close()
    elif task == "zlib_floor":
        text = phase("inflate", lambda: zlib.decompressobj(-15).decompress(raw))
        compressor = zlib.compressobj(1, zlib.DEFLATED, -15, 9)
        floor_size[0] = len(phase("deflate", lambda: compressor.compress(text) + compressor.flush()))
    else:
        raise SystemExit(f"unknown task {task}")
    seconds = time.perf_counter() - start
    peak = rss_kb("VmHWM") if exact_peak else __import__("resource").getrusage(0).ru_maxrss
    entry = None  # compressed size of the rewritten big sheet
    if task == "qm_big":
        entry = big_sheet_part(out).compress_size
    elif task == "zlib_floor":
        entry = floor_size[0]
    print(json.dumps({"seconds": seconds, "peak_growth_mb": (peak - baseline) / 1024, "phases": phases,
                      "entry_bytes": entry}))


# ---- parent side ------------------------------------------------------------------------------

def run_child(task, path, out):
    if os.path.exists(out):
        os.remove(out)
    result = subprocess.run([sys.executable, os.path.abspath(__file__), "--child", task, path, out],
                            capture_output=True, text=True, env=dict(os.environ))
    if result.returncode != 0:
        raise SystemExit(f"{task} on {path} failed:\n{result.stderr}")
    return json.loads(result.stdout.strip().splitlines()[-1])


def run_cp(path, out):
    if os.path.exists(out):
        os.remove(out)
    start = time.perf_counter()
    subprocess.run(["cp", path, out], check=True)
    return {"seconds": time.perf_counter() - start, "peak_growth_mb": 0.0, "phases": {}}


def measure(task, path, runs):
    out = os.path.join(OUT_DIR, f"{task}.xlsx")
    samples = [run_cp(path, out) if task == "cp" else run_child(task, path, out) for _ in range(runs)]
    if os.path.exists(out):
        os.remove(out)
    phases = {k: statistics.median(s["phases"][k] for s in samples) for k in samples[0]["phases"]}
    return {
        "seconds": statistics.median(s["seconds"] for s in samples),
        "peak_growth_mb": max(s["peak_growth_mb"] for s in samples),
        "entry_bytes": samples[0].get("entry_bytes"),
        "phases": phases,
        "runs": runs,
    }


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return f"{model}, {os.cpu_count()} cores, Linux {platform.release()}, Python {platform.python_version()}"


def fmt_s(x):
    return f"{x * 1000:.1f} ms" if x < 1 else f"{x:.2f} s"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--openpyxl-runs", type=int, default=3)
    parser.add_argument("--sizes", default="book_1mb,book_20mb,book_100mb")
    parser.add_argument("--openpyxl-sizes", default="book_1mb,book_20mb",
                        help="openpyxl load+save on the 100 MB book takes minutes and gigabytes")
    parser.add_argument("--json", help="also write the figures here")
    args = parser.parse_args()

    sizes = args.sizes.split(",")
    paths = make_workbooks.ensure(sizes)
    os.makedirs(OUT_DIR, exist_ok=True)
    for path in paths.values():  # warm the page cache
        with open(path, "rb") as f:
            while f.read(1 << 22):
                pass

    print(f"machine: {machine()}")
    results = {}
    for name, path in paths.items():
        big = big_sheet_part(path)
        r = results[name] = {"file_mb": os.path.getsize(path) / 1e6, "big_sheet_mb": big.file_size / 1e6}
        print(f"\n{name}: {r['file_mb']:.1f} MB file, big sheet {r['big_sheet_mb']:.1f} MB "
              f"({big.compress_size / 1e6:.1f} MB deflated)", flush=True)
        tasks = [("cp", args.runs), ("qm_small", args.runs), ("qm_big", args.runs), ("zlib_floor", args.runs),
                 ("qm_scan", args.runs), ("op_scan", args.runs)]
        if name in args.openpyxl_sizes.split(","):
            tasks.append(("op_edit", args.openpyxl_runs))
        for task, runs in tasks:
            m = r[task] = measure(task, path, runs)
            phases = ", ".join(f"{k} {fmt_s(v)}" for k, v in m["phases"].items())
            print(f"  {task:<11} {fmt_s(m['seconds']):>10}  +{m['peak_growth_mb']:7.1f} MB peak"
                  f"{'  (' + phases + ')' if phases else ''}", flush=True)

        def ratio(a, b):
            return r[a]["seconds"] / r[b]["seconds"]

        print(f"  small-sheet edit / cp             {ratio('qm_small', 'cp'):6.2f}x  (target <= 2.5x on the 100 MB book)")
        print(f"  big-sheet edit / zlib floor       {ratio('qm_big', 'zlib_floor'):6.2f}x  (target <= 0.5x)")
        print(f"  rewritten big sheet / zlib level 1 {r['qm_big']['entry_bytes'] / r['zlib_floor']['entry_bytes']:5.3f}x "
              f"({r['qm_big']['entry_bytes'] / 1e6:.1f} / {r['zlib_floor']['entry_bytes'] / 1e6:.1f} MB, target <= 1x)")
        if "op_edit" in r:
            print(f"  openpyxl edit / small-sheet edit  {ratio('op_edit', 'qm_small'):6.0f}x  (target >= 100x on the 20 MB book)")
            print(f"  openpyxl edit / big-sheet edit    {ratio('op_edit', 'qm_big'):6.1f}x  (target >= 20x)")
        print(f"  openpyxl sheetnames / scan_excel  {ratio('op_scan', 'qm_scan'):6.1f}x  (target >= 5x)")
        print(f"  big-sheet edit peak / sheet size  {r['qm_big']['peak_growth_mb'] / r['big_sheet_mb']:6.2f}x  (target <= 1.25x)")
        print(f"  small-sheet edit peak             {r['qm_small']['peak_growth_mb']:6.1f} MB (target <= 50 MB)")
    if args.json:
        with open(args.json, "w") as f:
            json.dump({"machine": machine(), "results": results}, f, indent=1)


if __name__ == "__main__":
    if len(sys.argv) == 5 and sys.argv[1] == "--child":
        child(*sys.argv[2:])
    else:
        main()
