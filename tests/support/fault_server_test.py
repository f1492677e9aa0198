#!/usr/bin/env python3
"""Checks of the test download server: one test per fault kind, plus serving, the request
log, "times", the fault file and the stop with the parent.

    fault_server_test.py [FaultServerTest.test_<kind> ...]
"""

import http.client
import json
import os
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "fault_server.py")
BODY = bytes(range(256)) * 40  # 10240 bytes


def start_server(folder, parent):
    root = os.path.join(folder, "www")
    os.makedirs(root, exist_ok=True)
    port_file = os.path.join(folder, "port")
    proc = subprocess.Popen([sys.executable, SERVER, "--root", root, "--port-file", port_file,
                             "--parent", str(parent), "--log", os.path.join(folder, "requests.log")])
    deadline = time.monotonic() + 10
    while not os.path.exists(port_file):
        if time.monotonic() > deadline or proc.poll() is not None:
            proc.kill()
            raise RuntimeError("the server did not start")
        time.sleep(0.02)
    with open(port_file) as f:
        return proc, root, int(f.read())


class FaultServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.proc, cls.root, cls.port = start_server(cls.folder.name, os.getpid())
        for name in ("a.bin", "b.bin"):
            with open(os.path.join(cls.root, name), "wb") as f:
                f.write(BODY)

    @classmethod
    def tearDownClass(cls):
        cls.proc.terminate()
        cls.proc.wait(10)
        cls.folder.cleanup()

    def tearDown(self):
        self.get("/_control/clear")
        try:
            os.remove(os.path.join(self.root, "_faults.json"))
        except FileNotFoundError:
            pass

    # --- helpers -------------------------------------------------------------------

    def get(self, path):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        conn.request("GET", path)
        resp = conn.getresponse()
        body = resp.read()
        conn.close()
        return resp, body

    def fault(self, path, kind, arg=None, times=None):
        query = {"path": path, "kind": kind}
        if arg is not None:
            query["arg"] = arg
        if times is not None:
            query["times"] = times
        resp, _ = self.get("/_control/fault?" + urllib.parse.urlencode(query))
        self.assertEqual(resp.status, 200)

    def raw(self, path, timeout=5.0):
        """Sends a request over a plain socket; returns (head, body, closed by server)."""
        sock = socket.create_connection(("127.0.0.1", self.port), timeout=timeout)
        sock.sendall(b"GET %s HTTP/1.1\r\nHost: x\r\n\r\n" % path.encode())
        data, closed = b"", False
        try:
            while True:
                piece = sock.recv(65536)
                if not piece:
                    closed = True
                    break
                data += piece
        except socket.timeout:
            pass
        sock.close()
        head, _, body = data.partition(b"\r\n\r\n")
        return head, body, closed

    # --- serving -------------------------------------------------------------------

    def test_serves_files_and_logs_requests(self):
        resp, body = self.get("/a.bin")
        self.assertEqual((resp.status, body), (200, BODY))
        self.assertEqual(resp.getheader("Content-Length"), str(len(BODY)))
        self.assertEqual(self.get("/missing.exe")[0].status, 404)
        self.assertEqual(self.get("/../fault_server.py")[0].status, 404)
        self.assertEqual(self.get("/%2e%2e/port")[0].status, 404)
        log = self.get("/_control/log")[1].decode().splitlines()
        self.assertIn("GET /a.bin", log)
        self.assertIn("GET /missing.exe", log)
        self.assertFalse([line for line in log if "_control" in line])

    def test_bad_control_request(self):
        self.assertEqual(self.get("/_control/fault?path=/a.bin&kind=nonsense")[0].status, 400)
        self.assertEqual(self.get("/_control/fault?kind=status")[0].status, 400)

    # --- one test per kind ---------------------------------------------------------

    def test_plants_links(self):
        target = os.path.join(self.folder.name, "target")
        with open(target, "wb") as f:
            f.write(b"target")
        for kind in ("symbolic", "hard"):
            link = os.path.join(self.folder.name, "link-" + kind)
            with open(link, "wb") as f:
                f.write(b"old entry")  # replaced, not written through
            query = urllib.parse.urlencode({"kind": kind, "target": target, "link": link})
            resp, _ = self.get("/_control/link?" + query)
            self.assertEqual(resp.status, 200)
            self.assertEqual(os.path.islink(link), kind == "symbolic")
            self.assertTrue(os.path.samefile(link, target))
        resp, _ = self.get("/_control/link?" + urllib.parse.urlencode(
            {"kind": "junction", "target": target, "link": link}))
        self.assertEqual(resp.status, 400)
        with open(target, "rb") as f:
            self.assertEqual(f.read(), b"target")

    def test_status(self):
        self.fault("/a.bin", "status", 404)
        self.assertEqual(self.get("/a.bin")[0].status, 404)
        self.assertEqual(self.get("/a.bin?x=1")[0].status, 404)
        self.assertEqual(self.get("/b.bin")[0].status, 200)

    def test_times_then_served_normally(self):
        self.fault("/a.bin", "status", 503, times=2)
        self.assertEqual([self.get("/a.bin")[0].status for _ in range(3)], [503, 503, 200])

    def test_chunked(self):
        self.fault("/a.bin", "chunked", 1000)
        resp, body = self.get("/a.bin")
        self.assertIsNone(resp.getheader("Content-Length"))
        self.assertEqual(resp.getheader("Transfer-Encoding"), "chunked")
        self.assertEqual(body, BODY)

    def test_short_close(self):
        self.fault("/a.bin", "short-close", 100)
        head, body, closed = self.raw("/a.bin")
        self.assertIn(b"Content-Length: %d" % len(BODY), head)
        self.assertEqual(body, BODY[:100])
        self.assertTrue(closed)

    def test_short_hold(self):
        self.fault("/a.bin", "short-hold", 100)
        start = time.monotonic()
        head, body, closed = self.raw("/a.bin", timeout=1.0)
        self.assertIn(b"Content-Length: %d" % len(BODY), head)
        self.assertEqual(body, BODY[:100])
        self.assertFalse(closed)
        self.assertGreaterEqual(time.monotonic() - start, 0.9)

    def test_held_connection_does_not_block_others(self):
        self.fault("/a.bin", "short-hold", 10)
        held = socket.create_connection(("127.0.0.1", self.port), timeout=5)
        held.sendall(b"GET /a.bin HTTP/1.1\r\nHost: x\r\n\r\n")
        held.recv(100)
        self.assertEqual(self.get("/b.bin")[1], BODY)
        held.close()

    def test_stall(self):
        self.fault("/a.bin", "stall", 0.5)
        start = time.monotonic()
        resp, body = self.get("/a.bin")
        self.assertGreaterEqual(time.monotonic() - start, 0.45)
        self.assertEqual(body, BODY)

    def test_drip(self):
        self.fault("/a.bin", "drip", 20480)  # about half a second for 10 KiB
        start = time.monotonic()
        resp, body = self.get("/a.bin")
        self.assertGreaterEqual(time.monotonic() - start, 0.4)
        self.assertEqual(body, BODY)

    def test_long(self):
        self.fault("/a.bin", "long", 50)
        head, body, closed = self.raw("/a.bin")
        self.assertIn(b"Content-Length: %d" % len(BODY), head)
        self.assertEqual(body, BODY + b"X" * 50)

    def test_redirect(self):
        self.fault("/a.bin", "redirect", "/b.bin")
        resp, _ = self.get("/a.bin")
        self.assertEqual(resp.status, 302)
        self.assertEqual(resp.getheader("Location"), "http://127.0.0.1:%d/b.bin" % self.port)

    def test_garbage(self):
        self.fault("/a.bin", "garbage")
        head, body, closed = self.raw("/a.bin")
        self.assertFalse(head.startswith(b"HTTP/"))
        self.assertTrue(closed)

    def test_close(self):
        self.fault("/a.bin", "close")
        head, body, closed = self.raw("/a.bin")
        self.assertEqual((head, body, closed), (b"", b"", True))

    # --- configuration by file, and the end of the server --------------------------

    def test_fault_file(self):
        with open(os.path.join(self.root, "_faults.json"), "w") as f:
            json.dump({"/b.bin": {"kind": "status", "arg": 410, "times": 1}}, f)
        self.assertEqual(self.get("/b.bin")[0].status, 410)
        self.assertEqual(self.get("/b.bin")[0].status, 200)

    def test_stops_with_its_parent(self):
        with tempfile.TemporaryDirectory() as folder:
            parent = subprocess.Popen(["sleep", "30"])
            proc, _, _ = start_server(folder, parent.pid)
            parent.kill()
            parent.wait()
            try:
                self.assertEqual(proc.wait(5), 0)
            finally:
                proc.kill()


if __name__ == "__main__":
    unittest.main()
