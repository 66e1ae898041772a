#!/usr/bin/env python3
"""Throughput figures of scripts/bench, ours and a baseline run alternately, median of the runs.
Each figure prints as "name: ours / baseline = ratio (unit)" and one JSON line; MB/s, higher is better.

  throughput_bench.py formats NATIVE_BENCH_DIR WORK_DIR RUNS
      the zip layer's extraction against bsdtar (stored, deflated), the encrypted case against our
      own plain figure, and Rijndael-256 against libmcrypt's
  throughput_bench.py molvane WINE64 MOLVANE FAKE_INSTALLER SIGN KEY WORK_DIR RUNS PORT
      Molvane's transfer and check of a signed 100 MB installer against curl then sha256sum
"""
import hashlib, json, os, random, shutil, statistics, subprocess, sys, time

MB = 1e6


def figure(name, ours, base, unit='MB/s, higher is better'):
    ratio = ours / base if base else 0.0
    print(f'{name}: {ours:.1f} / {base:.1f} = {ratio:.2f} ({unit})', flush=True)
    print(json.dumps({'name': name, 'unit': unit, 'ours': round(ours, 3), 'baseline': round(base, 3),
                      'ratio': round(ratio, 3)}), flush=True)


def timed(args, **kw):
    start = time.perf_counter()
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, **kw)
    return time.perf_counter() - start


def make_tree(folder, files=200, total=100 * 1000 * 1000):
    """200 files, 100 MB in all, half random and half text, so deflate has something to do."""
    if os.path.isfile(os.path.join(folder, '.ready')):
        return
    shutil.rmtree(folder, ignore_errors=True)
    rng = random.Random(21)
    words = [b'start', b'menu', b'button', b'update', b'installer', b'folder', b'window', b'skin', b'\xeb\xa9\x94\xeb\xaa\xa8']
    for i in range(files):
        sub = os.path.join(folder, f'part{i % 10}')
        os.makedirs(sub, exist_ok=True)
        size = total // files
        text = b' '.join(rng.choice(words) for _ in range(size // 12))[: size // 2]
        with open(os.path.join(sub, f'file{i:03}.bin'), 'wb') as f:
            f.write(rng.randbytes(size - len(text)) + text)
    open(os.path.join(folder, '.ready'), 'w').close()


def formats(native, work, runs):
    tree = os.path.join(work, 'tree')
    make_tree(tree)
    archives = {'stored': ['-0'], 'deflated': ['-6'], 'encrypted': ['-6', '-P', 'pravik-bench']}
    for name, options in archives.items():
        path = os.path.join(work, name + '.zip')
        if not os.path.exists(path):
            subprocess.run(['zip', '-q', '-r', *options, path, '.', '-x', '.ready'], cwd=tree, check=True)
    size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(tree) for f in fs if f != '.ready')
    target = os.path.join(work, 'target')

    def extract(args):
        shutil.rmtree(target, ignore_errors=True)
        os.makedirs(target)
        subprocess.run(['sync'])
        return timed(args)

    def ours(archive, password=None):
        return extract([os.path.join(native, 'zip_extract'), archive, target] + ([password] if password else []))

    def bsdtar(archive):
        return extract(['bsdtar', '-xf', archive, '-C', target])

    plain = {}
    for name in ('stored', 'deflated'):
        archive = os.path.join(work, name + '.zip')
        a, b = [], []
        for _ in range(runs):
            a.append(ours(archive))
            b.append(bsdtar(archive))
        plain[name] = size / MB / statistics.median(a)
        figure(f'zip extraction, 200 files / 100 MB, {name}, against bsdtar', plain[name],
               size / MB / statistics.median(b))
    archive = os.path.join(work, 'encrypted.zip')
    a, b = [], []
    for _ in range(runs):
        a.append(ours(archive, 'pravik-bench'))
        b.append(ours(os.path.join(work, 'deflated.zip')))
    figure('zip extraction, encrypted (deflated), against our plain deflated', size / MB / statistics.median(a),
           size / MB / statistics.median(b))

    a, b, outputs = [], [], set()
    for _ in range(runs):
        for program, into in (('rijndael_speed', a), ('mcrypt_rijndael_speed', b)):
            speed, check = subprocess.run([os.path.join(native, program), '64'], check=True, capture_output=True,
                                          text=True).stdout.split()
            into.append(float(speed))
            outputs.add(check)
    if len(outputs) != 1:
        sys.exit('the two Rijndael-256 programs disagree about the cipher text')
    figure('Rijndael-256 encryption, 64 MB, against libmcrypt rijndael-256', statistics.median(a), statistics.median(b))


def molvane(wine, molvane_exe, installer, sign, key, work, runs, port):
    app, served = os.path.join(work, 'app'), os.path.join(work, 'served')
    for d in (app, served):
        os.makedirs(d, exist_ok=True)
    shutil.copy(molvane_exe, app)
    # The installed program Molvane judges versions by: the stand-in carries the build's version.
    shutil.copy(installer, os.path.join(app, 'Pravik.exe'))
    tiny, big = os.path.join(served, 'tiny.exe'), os.path.join(served, 'big.exe')
    shutil.copy(installer, tiny)
    if not os.path.exists(big):
        with open(big, 'wb') as f, open(installer, 'rb') as i:
            f.write(i.read())
            f.write(random.Random(16).randbytes(100 * 1000 * 1000))  # carried after the image, as installers carry data
    for f in (tiny, big):
        subprocess.run([sign, key, f, '9.9.0', f + '.sig'], check=True, stdout=subprocess.DEVNULL)
    server = subprocess.Popen([sys.executable, os.path.join(os.path.dirname(__file__), 'update_server.py'),
                               '--port', str(port), '--root', served], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        time.sleep(1)
        started_log = os.path.join(app, 'installer-runs.log')

        def update(name):
            """Start of Molvane to the installer's start (it logs itself), in seconds."""
            for f in (started_log, os.path.join(app, 'PravikUpdate.exe')):
                if os.path.exists(f):
                    os.remove(f)
            start = time.perf_counter()
            process = subprocess.Popen([wine, os.path.join(app, 'Molvane.exe'), f'http://127.0.0.1:{port}/{name}'],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            ended = None  # the installer may log itself a moment after Molvane ended
            while not os.path.exists(started_log):
                if ended is None and process.poll() is not None:
                    ended = time.perf_counter()
                if ended is not None and time.perf_counter() - ended > 10:
                    sys.exit(f'Molvane ended without starting {name}')
                time.sleep(0.002)
            took = time.perf_counter() - start
            process.wait(timeout=60)
            return took

        def curl_and_hash():
            fetched = os.path.join(work, 'fetched.exe')
            took = timed(['curl', '-sf', '-o', fetched, f'http://127.0.0.1:{port}/big.exe'])
            return took + timed(['sha256sum', fetched])

        small, large, base = [], [], []
        for _ in range(runs):
            small.append(update('tiny.exe'))
            large.append(update('big.exe'))
            base.append(curl_and_hash())
        payload = (os.path.getsize(big) - os.path.getsize(tiny)) / MB
        print(f'molvane: a tiny signed update takes {statistics.median(small):.3f} s from start to the installer '
              f'started; the 100 MB one {statistics.median(large):.3f} s', flush=True)
        figure('Molvane transfer and check, 100 MB signed installer, against curl then sha256sum',
               payload / max(statistics.median(large) - statistics.median(small), 1e-3),
               payload / statistics.median(base))
    finally:
        server.terminate()
        server.wait()


if __name__ == '__main__':
    if len(sys.argv) == 5 and sys.argv[1] == 'formats':
        formats(sys.argv[2], sys.argv[3], int(sys.argv[4]))
    elif len(sys.argv) == 10 and sys.argv[1] == 'molvane':
        molvane(*sys.argv[2:8], int(sys.argv[8]), int(sys.argv[9]))
    else:
        sys.exit(__doc__)
