#!/usr/bin/env python3
"""The test download server: serves a folder over HTTP on 127.0.0.1 and, per path,
misbehaves in the ways a real server or network can.

    fault_server.py --root DIR --port-file FILE --parent PID --log FILE

It binds a port the system chooses, writes that port to FILE (atomically), appends the
request line ("GET /path") of every request except control requests to the log, flushed
at once, and exits by itself as soon as process PID has ended.

Faults are set per path while the server runs, by the test itself:

    GET /_control/fault?path=/a.exe&kind=status&arg=404[&times=N]
    GET /_control/clear[?path=/a.exe]
    GET /_control/log                  the request log so far
    GET /_control/link?kind=symbolic&target=/x&link=/y
                                       plants a link at host path /y (kind symbolic or
                                       hard) to /x, replacing the entry that stands there

or by a file <root>/_faults.json, reread whenever it changes:

    {"/a.exe": {"kind": "short-close", "arg": 100, "times": 1}}

"times" limits a fault to the next N requests of that path (then the path is served
normally again); without it the fault stays until cleared. A fault set over HTTP takes
precedence over one from the file. A fault's path matches the request target exactly, or
its path without the query string.

Kinds and their argument:
    status       arg: the status code, with a short text body
    chunked      the file with Transfer-Encoding: chunked and no Content-Length;
                 arg: chunk size (default 4096)
    short-close  the full Content-Length, then only arg bytes (default half), then close
    short-hold   the same, then the connection stays open (until the client closes it)
    stall        arg seconds of silence before the headers, then the file
    drip         the file at arg bytes per second
    long         arg extra bytes (default 1024) after a body of exactly Content-Length
    redirect     302 to arg (a path on this server or a full URL)
    garbage      bytes that are no HTTP response, then close
    close        close the connection without any response
"""

import argparse
import json
import os
import select
import socket
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

KINDS = ("status", "chunked", "short-close", "short-hold", "stall", "drip", "long",
         "redirect", "garbage", "close")
GARBAGE = b"\x00\x17\xff\xfeTHIS IS NOT HTTP\r\n\x01\x02\x03\r\n\r\n"
# A held connection is given up after this long, so that a forgotten test cannot pin it.
MAX_HOLD_SECONDS = 600
stopping = threading.Event()


class Fault:
    def __init__(self, kind, arg=None, times=None):
        if kind not in KINDS:
            raise ValueError("unknown fault kind %r" % (kind,))
        self.kind = kind
        self.arg = None if arg in (None, "") else str(arg)
        self.times = None if times in (None, "") else int(times)


class FaultTable:
    """Faults by path: those set over HTTP, then those of <root>/_faults.json."""

    def __init__(self, root):
        self.lock = threading.Lock()
        self.file = os.path.join(root, "_faults.json")
        self.set_faults = {}
        self.file_faults = {}
        self.file_stamp = None

    def set(self, path, fault):
        with self.lock:
            self.set_faults[path] = fault

    def clear(self, path=None):
        with self.lock:
            if path is None:
                self.set_faults.clear()
            else:
                self.set_faults.pop(path, None)

    def _reload_file(self):
        try:
            st = os.stat(self.file)
            stamp = (st.st_mtime_ns, st.st_size)
        except OSError:
            stamp = None
        if stamp == self.file_stamp:
            return
        self.file_stamp = stamp
        self.file_faults = {}
        if stamp is None:
            return
        try:
            with open(self.file, encoding="utf-8") as f:
                for path, fault in json.load(f).items():
                    self.file_faults[path] = Fault(fault["kind"], fault.get("arg"), fault.get("times"))
        except (OSError, ValueError, KeyError, AttributeError) as e:
            print("fault_server: ignoring %s: %s" % (self.file, e), file=sys.stderr)

    def take(self, target):
        """The fault for this request target, counting it against its "times"."""
        path = urllib.parse.urlsplit(target).path
        with self.lock:
            self._reload_file()
            for table in (self.set_faults, self.file_faults):
                for key in (target, path):
                    fault = table.get(key)
                    if fault is None:
                        continue
                    if fault.times is not None:
                        fault.times -= 1
                        if fault.times <= 0:
                            del table[key]
                    return fault
        return None


class RequestLog:
    def __init__(self, path):
        self.lock = threading.Lock()
        self.path = path
        open(path, "ab").close()

    def add(self, line):
        with self.lock, open(self.path, "ab") as f:
            f.write(line.encode("latin-1", "replace") + b"\n")
            f.flush()

    def read(self):
        with self.lock, open(self.path, "rb") as f:
            return f.read()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "PelloryTestServer/1.0"
    sys_version = ""

    def log_message(self, format, *args):  # the request log is our own
        pass

    def do_GET(self):
        self.serve(send_body=True)

    def do_HEAD(self):
        self.serve(send_body=False)

    # --- control -------------------------------------------------------------------

    def control(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        try:
            if url.path == "/_control/fault":
                self.server.faults.set(query["path"], Fault(query["kind"], query.get("arg"),
                                                            query.get("times")))
                return self.reply(200, b"ok\n")
            if url.path == "/_control/clear":
                self.server.faults.clear(query.get("path"))
                return self.reply(200, b"ok\n")
            if url.path == "/_control/log":
                return self.reply(200, self.server.log.read())
            if url.path == "/_control/link":
                plant_link(query["kind"], query["target"], query["link"])
                return self.reply(200, b"ok\n")
        except (KeyError, ValueError, OSError) as e:
            return self.reply(400, ("bad control request: %s\n" % e).encode())
        return self.reply(404, b"no such control\n")

    # --- serving -------------------------------------------------------------------

    def serve(self, send_body):
        if self.path.startswith("/_control/"):
            return self.control()
        self.server.log.add("%s %s" % (self.command, self.path))
        fault = self.server.faults.take(self.path)
        body = self.file_body()
        if fault is None:
            if body is None:
                return self.reply(404, b"not found\n", send_body)
            return self.reply(200, body, send_body)
        getattr(self, "fault_" + fault.kind.replace("-", "_"))(fault, body, send_body)

    def file_body(self):
        """The bytes of the requested file under the root; None when there is none."""
        rel = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path).lstrip("/")
        root = os.path.realpath(self.server.root)
        full = os.path.realpath(os.path.join(root, rel))
        if not full.startswith(root + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()

    def reply(self, code, body, send_body=True, headers=()):
        self.send_response(code)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        if send_body:
            self.wfile.write(body)

    def start(self, code, length=None, headers=()):
        self.send_response(code)
        self.send_header("Content-Type", "application/octet-stream")
        if length is not None:
            self.send_header("Content-Length", str(length))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.flush()

    def hang_up(self):
        self.close_connection = True
        self.wfile.flush()
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def wait(self, seconds):
        """Sleeps, but no longer than the server lives."""
        return not stopping.wait(seconds)

    # --- the faults ----------------------------------------------------------------

    def fault_status(self, fault, body, send_body):
        code = int(fault.arg or 500)
        self.reply(code, ("%d injected\n" % code).encode(), send_body)

    def fault_chunked(self, fault, body, send_body):
        body = body if body is not None else b""
        size = max(1, int(fault.arg or 4096))
        self.start(200, headers=[("Transfer-Encoding", "chunked")])
        if not send_body:
            return
        for i in range(0, len(body), size):
            chunk = body[i:i + size]
            self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
        self.wfile.write(b"0\r\n\r\n")

    def short_body(self, fault, body):
        body = body if body is not None else b""
        sent = int(fault.arg) if fault.arg is not None else len(body) // 2
        return body, body[:max(0, min(sent, len(body)))]

    def fault_short_close(self, fault, body, send_body):
        body, part = self.short_body(fault, body)
        self.start(200, len(body))
        if send_body:
            self.wfile.write(part)
        self.hang_up()

    def fault_short_hold(self, fault, body, send_body):
        body, part = self.short_body(fault, body)
        self.start(200, len(body))
        if send_body:
            self.wfile.write(part)
        self.wfile.flush()
        deadline = time.monotonic() + MAX_HOLD_SECONDS
        # Hold until the client gives up (its end reads as closed) or the server stops.
        while not stopping.is_set() and time.monotonic() < deadline:
            readable, _, _ = select.select([self.connection], [], [], 0.2)
            if readable:
                try:
                    if not self.connection.recv(4096):
                        break
                except OSError:
                    break
        self.close_connection = True

    def fault_stall(self, fault, body, send_body):
        if not self.wait(float(fault.arg or 60)):
            return
        if body is None:
            return self.reply(404, b"not found\n", send_body)
        self.reply(200, body, send_body)

    def fault_drip(self, fault, body, send_body):
        body = body if body is not None else b""
        rate = max(1, int(fault.arg or 1024))
        self.start(200, len(body))
        if not send_body:
            return
        piece = max(1, rate // 10)
        started = time.monotonic()
        for i in range(0, len(body), piece):
            # Each piece leaves on schedule: i bytes after i / rate seconds.
            delay = started + i / rate - time.monotonic()
            if delay > 0 and not self.wait(delay):
                return
            self.wfile.write(body[i:i + piece])
            self.wfile.flush()

    def fault_long(self, fault, body, send_body):
        body = body if body is not None else b""
        extra = int(fault.arg or 1024)
        self.start(200, len(body))
        if send_body:
            self.wfile.write(body + b"X" * extra)
        self.hang_up()

    def fault_redirect(self, fault, body, send_body):
        target = fault.arg or "/"
        if target.startswith("/"):
            target = "http://%s:%d%s" % (self.server.server_address[0],
                                          self.server.server_address[1], target)
        self.reply(302, b"", send_body, headers=[("Location", target)])

    def fault_garbage(self, fault, body, send_body):
        self.wfile.write(GARBAGE)
        self.hang_up()

    def fault_close(self, fault, body, send_body):
        self.hang_up()


def plant_link(kind, target, link):
    """A link planted where a client will write, as an attacker on the host would: a
    Windows program under Wine cannot make a Unix symbolic link itself, and deleting one
    through Wine deletes its target, so the old entry goes here too."""
    if kind not in ("symbolic", "hard"):
        raise ValueError("unknown link kind %r" % (kind,))
    if os.path.lexists(link):
        os.unlink(link)
    (os.symlink if kind == "symbolic" else os.link)(target, link)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    block_on_close = False
    allow_reuse_address = False

    def handle_error(self, request, client_address):
        # A client that hangs up in the middle is a normal event in these tests.
        if not isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            super().handle_error(request, client_address)


def watch_parent(pid, server):
    """Stops the server once the parent has ended, even if it died without a word."""
    first_ppid = os.getppid()
    while True:
        try:
            os.kill(pid, 0)
            alive = not (pid == first_ppid and os.getppid() != pid)
        except ProcessLookupError:
            alive = False
        except PermissionError:
            alive = True
        if not alive:
            stopping.set()
            server.shutdown()
            return
        time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--parent", type=int, required=True)
    parser.add_argument("--log", required=True)
    args = parser.parse_args()

    server = Server(("127.0.0.1", 0), Handler)
    server.root = args.root
    server.faults = FaultTable(args.root)
    server.log = RequestLog(args.log)

    tmp = args.port_file + ".tmp"
    with open(tmp, "w") as f:
        f.write("%d\n" % server.server_address[1])
    os.replace(tmp, args.port_file)

    threading.Thread(target=watch_parent, args=(args.parent, server), daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        stopping.set()
        server.server_close()


if __name__ == "__main__":
    main()
