#!/usr/bin/env python3
"""Hostile-input probe of the stand-in service, on 127.0.0.1 only, bounded in count and time.

Starts lokavo-service on a fresh database with a request log, sends a fixed set of hostile
requests (and a seeded run of random ones) and prints what it saw: inputs tried, crashes,
hangs, wrong statuses, data changed, the log's leaks, and the service's peak memory.
  scripts/probe-service.py --binary PATH [--random N] [--seed S] [--skip-bombs]
"""
import argparse, base64, hashlib, os, random, socket, sqlite3, subprocess, sys, tempfile
import threading, time, urllib.parse

TIMEOUT = 10.0
tally = {"inputs": 0, "crashes": 0, "hangs": 0, "wrong": 0}
wrong_examples = []


def raw(port, data, wait=TIMEOUT):
    """Sends bytes, returns what came back until close or `wait` (None when nothing came)."""
    s = socket.create_connection(("127.0.0.1", port), timeout=wait)
    s.settimeout(wait)
    s.sendall(data)
    out = b""
    try:
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            out += chunk
            if answers_complete(out, 1):
                break
    except socket.timeout:
        pass
    s.close()
    return out or None


def answers_complete(data, count):
    at = 0
    for _ in range(count):
        end = data.find(b"\r\n\r\n", at)
        if end < 0:
            return False
        length = 0
        for line in data[at:end].split(b"\r\n"):
            if line.lower().startswith(b"content-length:"):
                length = int(line.split(b":")[1])
        if len(data) < end + 4 + length:
            return False
        at = end + 4 + length
    return True


def status_of(answer):
    if not answer or not answer.startswith(b"HTTP/1.1 "):
        return None
    return int(answer[9:12])


def request(port, method, target, body=b"", headers=()):
    head = f"{method} ".encode() + target + b" HTTP/1.1\r\n"
    if not any(h.lower().startswith(b"host:") for h in headers):
        head += b"Host: 127.0.0.1\r\n"
    for h in headers:
        head += h + b"\r\n"
    if body or method == "POST":
        head += b"Content-Type: application/x-www-form-urlencoded\r\n"
        head += f"Content-Length: {len(body)}\r\n".encode()
    return raw(port, head + b"\r\n" + body)


def expect(name, answer, allowed):
    tally["inputs"] += 1
    status = status_of(answer)
    if status is None:
        tally["hangs"] += 1
        wrong_examples.append(f"{name}: no answer")
    elif status not in allowed or status >= 500:
        tally["wrong"] += 1
        wrong_examples.append(f"{name}: {status}")
    return answer


def body_of(answer):
    return answer.split(b"\r\n\r\n", 1)[1] if answer else b""


def peak_rss_mb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) // 1024
    return -1


def login(port, user, password):
    answer = request(port, "POST", b"/passport/?login&",
                     f"login_username={user}&login_loginpass={password}".encode())
    text = body_of(answer).decode("utf-8", "replace")
    at = text.find('value="')
    return text[at + 7:at + 39] if at >= 0 else ""


def jpeg_declaring(jpeg, width, height, progressive):
    data = bytearray(jpeg)
    at = data.find(b"\xff\xc0")
    if progressive:
        data[at + 1] = 0xC2
    data[at + 5:at + 9] = bytes([height >> 8, height & 255, width >> 8, width & 255])
    return bytes(data)


def snapshot(db):
    """Hashes of the tables hostile requests must never change, and the integrity check."""
    con = sqlite3.connect(f"file:{db}?mode=ro", uri=True)
    hashes = {}
    for table in ("province", "city", "district", "circle", "category", "shop", "review",
                  "coupon", "account", "user", "album", "want", "been"):
        digest = hashlib.sha256()
        for row in con.execute(f"SELECT * FROM {table} ORDER BY rowid"):
            digest.update(repr(row).encode())
        hashes[table] = digest.hexdigest()
    hashes["integrity"] = con.execute("PRAGMA integrity_check").fetchone()[0]
    challenges = con.execute("SELECT COUNT(*) FROM challenge").fetchone()[0]
    con.close()
    return hashes, challenges


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--random", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=22)
    parser.add_argument("--skip-bombs", action="store_true",
                        help="leave out the picture bombs and the 24 parallel field floods (for "
                             "builds that would allocate gigabytes)")
    args = parser.parse_args()
    started = time.time()
    scratch = tempfile.mkdtemp(prefix="lokavo-probe-")
    db = os.path.join(scratch, "probe.sqlite")
    log = os.path.join(scratch, "requests.log")
    service = subprocess.Popen([args.binary, "--port", "0", "--db", db, "--log", log],
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    port = int(service.stdout.readline())
    before, _ = snapshot(db)
    latencies = {}

    # 1. Pictures declaring enormous sizes.
    ssid = login(port, "lokavo", "lokavo123")
    tile = body_of(request(port, "GET", b"/pic/22.jpg"))
    if not args.skip_bombs:
        for w, h, progressive in ((65500, 65500, True), (32768, 32768, True), (8200, 8200, False)):
            photo = urllib.parse.quote(base64.b64encode(jpeg_declaring(tile, w, h, progressive)))
            t = time.time()
            answer = request(port, "POST", b"/client/submit/1000040/addMiniCmt",
                             f"shop_id=1000040&content=x&ssid={ssid}&img={photo}".encode())
            latencies[f"jpeg {w}x{h}"] = time.time() - t
            expect(f"jpeg {w}x{h}", answer, {400})

    # 2. Idle and slow connections, then a normal search.
    idle = [socket.create_connection(("127.0.0.1", port)) for _ in range(200)]
    slow = [socket.create_connection(("127.0.0.1", port)) for _ in range(24)]
    for s in slow:
        s.sendall(b"GET /client/search/0/q?ci=131 HTTP/1.1\r\nHo")
    time.sleep(0.5)
    t = time.time()
    answer = raw(port, b"GET /client/search/0/q?k=&ci=131&p=0&n=15 HTTP/1.1\r\nHost: x\r\n\r\n",
                 wait=5)
    latencies["search beside 200 idle + 24 slow"] = time.time() - t
    expect("search beside idle and slow connections", answer, {200})
    if answer and latencies["search beside 200 idle + 24 slow"] > 1.0:
        tally["hangs"] += 1
        wrong_examples.append("search beside idle and slow connections took over 1 s")
    for s in idle + slow:
        s.close()

    # 3. Text that is not UTF-8, in queries and forms.
    for bad in ("%ED%A0%80", "%E0%80%AF", "%F4%90%80%80", "%C0%AF", "%FF", "%80"):
        expect(f"search k={bad}", request(port, "GET", f"/client/search/0/q?ci=131&k={bad}".encode()), {400})
        expect(f"broadcast {bad}", request(port, "POST", b"/client/submit/1000040/addMiniCmt",
               f"shop_id=1000040&ssid={ssid}&content=a{bad}".encode()), {400})
        expect(f"report {bad}", request(port, "POST", b"/client/submit/0/reportInfo",
               f"content=a{bad}".encode()), {400})
        expect(f"nickname {bad}", request(port, "POST", b"/client/user/0/active",
               f"ssid={ssid}&nickName=a{bad}".encode()), {400})

    # 4. Many fields and long statistics values.
    many = b"&".join(b"f%d=1" % i for i in range(500000))
    t = time.time()
    expect("form of 500,000 fields", request(port, "POST", b"/client/submit/0/reportInfo", many), {400})
    latencies["form of 500,000 fields"] = time.time() - t
    parallel = []
    t = time.time()
    for _ in range(0 if args.skip_bombs else 24):
        worker = threading.Thread(target=lambda: expect(
            "form of 500,000 fields, 24 at once",
            request(port, "POST", b"/client/submit/0/reportInfo", many), {400}))
        worker.start()
        parallel.append(worker)
    for worker in parallel:
        worker.join()
    if parallel:
        latencies["24 forms of 500,000 fields at once"] = time.time() - t
    for i in range(50):
        expect("long xda_os", request(port, "GET", f"/client/user/0/info?xda_did=p{i}&xda_os={'o' * 7000}".encode()), {400})

    # 5. Secrets under escaped names and control bytes in the target.
    expect("escaped password name", request(port, "POST", b"/passport/?login&",
           b"login_username=lokavo&login%5Floginpass=lokavo123"), {200})
    expect("escaped ssid name", request(port, "GET", f"/client/user/0/utrail?%73sid={ssid}".encode()), {200})
    expect("tab and escape in target", request(port, "GET", b"/client/x\ty\x1b[31m"), {400, 404})

    # 6. Failed logins of an account that asks for a code.
    for _ in range(500):
        expect("guarded login", request(port, "POST", b"/passport/?login&",
               b"login_username=guarded&login_loginpass=guarded123"), {200})

    # 7. A forged Host header.
    answer = expect("forged host", request(port, "GET", b"/client/shop/1000001/info",
                    headers=(b"Host: attacker-host:1234",)), {200})
    host_echoed = b"attacker" in body_of(answer)

    # 8. Odd picture names, malformed Content-Length, pipelining.
    for name in (b"/pic/22.exe", b"//pic/22.jpg", b"/pic%2f22.jpg", b"/pic/22.png", b"/pic/22"):
        expect(f"picture {name!r}", request(port, "GET", name), {404})
    for value in (b"abc", b"1e3", b" 10", b"10\r\nContent-Length: 12"):
        expect(f"Content-Length {value!r}", raw(port, b"POST /client/submit/0/reportInfo HTTP/1.1\r\n"
               b"Host: x\r\nContent-Length: " + value + b"\r\n\r\ncontent=abcd"), {400})
    both = b"GET /client/index/0/province HTTP/1.1\r\nHost: x\r\n\r\n" * 2
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    s.sendall(both)
    got = b""
    try:
        while not answers_complete(got, 2):
            chunk = s.recv(65536)
            if not chunk:
                break
            got += chunk
    except socket.timeout:
        pass
    s.close()
    tally["inputs"] += 1
    if not answers_complete(got, 2):
        tally["wrong"] += 1
        wrong_examples.append("pipelined pair: second request unanswered")

    # 9. Injection-like and random requests: never 500, never silence.
    rng = random.Random(args.seed)
    words = ["'", "\"", ";", "--", "' OR 1=1 --", "%00", "%", "%%", "+", "..", "/", "%2e%2e",
             "DROP TABLE shop", "<script>", "\\", "%ff", "9" * 30, "-1", "1e309", "nan", "%0d%0a"]
    paths = ["/client/search/0/q", "/client/shop/1000001/info", "/client/index/131/minicmt",
             "/client/coupon/131/showlist", "/client/user/0/pos", "/client/index/0/province",
             "/pic/1.jpg", "/cgi-bin/genimage", "/passport/", "/client/submit/0/reportInfo"]
    keys = ["k", "ci", "p", "n", "x", "y", "sd", "sort", "ssid", "longti", "lati", "content", "rc"]
    for i in range(args.random):
        if time.time() - started > 240:
            break
        query = "&".join(f"{rng.choice(keys)}={rng.choice(words)}" for _ in range(rng.randint(0, 6)))
        target = (rng.choice(paths) + "?" + query).replace(" ", "%20").encode()
        method = rng.choice(["GET", "GET", "POST"])
        answer = request(port, method, target, query.encode() if method == "POST" else b"")
        expect(f"random {method} {target[:60]!r}", answer, set(range(200, 500)))
        if service.poll() is not None:
            tally["crashes"] += 1
            break

    alive = service.poll() is None
    after, challenges = snapshot(db)
    changed = [t for t in before if before[t] != after[t]]
    peak = peak_rss_mb(service.pid) if alive else -1
    service.terminate()
    service.wait(timeout=30)
    if not alive:
        tally["crashes"] += 1
    text = open(log, "rb").read()
    leaks = sum(text.count(secret.encode()) for secret in ("lokavo123", ssid) if secret)
    raw_controls = sum(text.count(bytes([c])) for c in range(32) if c not in (9, 10))
    counts = [line.count(b"\t") for line in text.split(b"\n") if line]
    usual = max(set(counts), key=counts.count) if counts else 0
    tabbed = sum(1 for c in counts if c != usual)

    print(f"inputs tried        {tally['inputs']}")
    print(f"crashes             {tally['crashes']}")
    print(f"hangs               {tally['hangs']}")
    print(f"wrong statuses      {tally['wrong']}")
    print(f"data changed        {', '.join(changed) if changed else 'none'} (integrity: {after['integrity']})")
    print(f"challenge rows      {challenges} after 500 failed logins")
    print(f"host echoed         {'yes' if host_echoed else 'no'}")
    print(f"log: secrets {leaks}, raw control bytes {raw_controls}, lines with extra fields {tabbed}")
    print(f"peak memory         {peak} MB")
    for name, seconds in latencies.items():
        print(f"time                {seconds:.3f} s  {name}")
    for example in wrong_examples[:15]:
        print(f"  {example}")
    return 0 if not (tally["crashes"] or tally["hangs"] or tally["wrong"] or changed) else 1


if __name__ == "__main__":
    sys.exit(main())
