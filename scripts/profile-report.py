# Per-window CPU time by process and module (and, with --symbols, by function), from
# pairs of perf recordings: N windows and 0 windows after the same warm-up.
import bisect, collections, os, re, subprocess, sys

bindir, wine_pe, n, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
kinds, datadir, symbols = sys.argv[5].split(','), sys.argv[6], len(sys.argv) > 7
nm = 'x86_64-w64-mingw32-nm' if 'x86_64' in wine_pe else 'i686-w64-mingw32-nm'
objdump = nm.replace('-nm', '-objdump')
ours = ('Tamvero.dll', 'TamFx.dll', 'Valmira.dll', 'Gresko.dll', 'Lumadex.dll', 'Tondril.dll')

tables = {}
def pe_table(path):
    if path not in tables:
        out = subprocess.run([nm, '-n', '-C', path], capture_output=True, text=True).stdout
        a, s = [], []
        for line in out.splitlines():
            p = line.split(None, 2)
            if len(p) == 3 and p[1] in 'tTWw' and re.fullmatch('[0-9a-f]+', p[0]):
                a.append(int(p[0], 16)); s.append(p[2])
        tables[path] = (a, s)
    return tables[path]

# Our DLLs are read into anonymous memory (their sections are not page aligned), so perf
# names them [JIT] or perf-PID.map: find them by their preferred image base.
images = []
for d in os.listdir(bindir):
    if d.endswith('.dll'):
        o = subprocess.run([objdump, '-p', os.path.join(bindir, d)], capture_output=True, text=True).stdout
        base = int(re.search(r'ImageBase\s+([0-9a-f]+)', o).group(1), 16)
        size = int(re.search(r'SizeOfImage\s+([0-9a-f]+)', o).group(1), 16)
        path = os.path.join(bindir, d)
        images.append((base, base + size, d, path + '.debug' if os.path.exists(path + '.debug') else path))

def place(ip, dso, sym):
    if dso.startswith('[JIT]') or 'perf-' in dso or dso == '[unknown]':
        for lo, hi, name, path in images:
            if lo <= ip < hi:
                a, s = pe_table(path); i = bisect.bisect_right(a, ip) - 1
                return name, s[i] if i >= 0 else '?'
        return '[anonymous]', '?'
    name = os.path.basename(dso)
    if name.endswith(('.dll', '.exe', '.drv')) and os.path.exists(dso):
        a, s = pe_table(dso); i = bisect.bisect_right(a, ip) - 1
        return name, s[i] if i >= 0 else '?'
    return name, sym.split('+')[0]

def samples(path):
    c = collections.Counter()
    out = subprocess.run(['perf', 'script', '-i', path, '-F', 'comm,ip,sym,dso'], capture_output=True, text=True).stdout
    for line in out.splitlines():
        m = re.match(r'\s*(\S+)\s+([0-9a-f]+)\s+(.*)\((.*)\)\s*$', line)
        if not m: continue
        comm = m.group(1)
        proc = 'server' if comm.startswith('wineserver') else 'X' if comm == 'Xvfb' else 'client' if comm == 'bench_speed.exe' else None
        if not proc: continue
        mod, fn = place(int(m.group(2), 16), m.group(4), m.group(3).strip())
        if proc == 'client' and mod in ours or mod.startswith(('libstdc++', 'libgcc_s', 'libwinpthread')):
            mod = 'ours: ' + mod if mod in ours else 'ours: C++ runtime'
        c[(proc, mod, fn if symbols else '')] += 1
    return c

per = {}
hz = 1999.0
for k in kinds:
    c1, c0 = collections.Counter(), collections.Counter()
    for r in range(1, rounds + 1):
        c1.update(samples(f'{datadir}/{k}-{n}-{r}.data'))
        c0.update(samples(f'{datadir}/{k}-0-{r}.data'))
    per[k] = {key: (c1[key] - c0[key]) / hz / n / rounds * 1e6 for key in set(c1) | set(c0)}
def table(per, title, limit):
    keys = set().union(*per.values())
    first, last = kinds[0], kinds[-1]
    rows = sorted(keys, key=lambda key: -(per[first].get(key, 0) - per[last].get(key, 0)))
    print()
    print(f"{title:44}" + ''.join(f'{k[-13:]:>14}' for k in kinds))
    for key in rows[:limit]:
        vals = [per[k].get(key, 0) for k in kinds]
        if max(abs(v) for v in vals) < 2: continue
        print(f"{' '.join(key)[:44]:44}" + ''.join(f'{v:14.1f}' for v in vals))

print(f"{'us per window or digit':44}" + ''.join(f'{k[-13:]:>14}' for k in kinds))
for proc in ('client', 'server', 'X'):
    print(f"{proc + ' total':44}" + ''.join(f"{sum(v for key, v in per[k].items() if key[0] == proc):14.1f}" for k in kinds))
print(f"{'all':44}" + ''.join(f'{sum(per[k].values()):14.1f}' for k in kinds))
modules = {}
for k in kinds:
    modules[k] = collections.Counter()
    for key, v in per[k].items(): modules[k][key[:2]] += v
table(modules, 'by process and module', 25)
if symbols: table(per, 'by function', 60)
