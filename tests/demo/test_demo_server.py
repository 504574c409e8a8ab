"""The demo server as the client and a plain browser meet it: real HTTP
requests to a real server process on 127.0.0.1."""
import http.client
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

SERVER = os.environ.get(
    "TALMIC_DEMO_SERVER",
    os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "demo", "server.py"))
CHROMIUM = shutil.which("chromium")


class DemoServer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="talmic-demo-test-")
        port_file = os.path.join(cls.folder, "port")
        cls.log_path = os.path.join(cls.folder, "server.log")
        cls.log = open(cls.log_path, "w")
        cls.server = subprocess.Popen([sys.executable, SERVER, port_file], stderr=cls.log)
        deadline = time.monotonic() + 10
        while not os.path.exists(port_file) and time.monotonic() < deadline:
            time.sleep(0.05)
        with open(port_file) as f:
            cls.port = int(f.read())

    @classmethod
    def tearDownClass(cls):
        cls.server.terminate()
        cls.server.wait(10)
        cls.log.close()
        shutil.rmtree(cls.folder, ignore_errors=True)

    def request(self, method, path, body=None, headers=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        connection.request(method, path, body=body, headers=headers or {})
        response = connection.getresponse()
        data = response.read()
        connection.close()
        return response, data

    def log_text(self):
        with open(self.log_path, encoding="utf-8") as f:
            return f.read()

    def test_update_check_says_the_client_is_current(self):
        # The client posts an empty form to the login page's folder.
        response, data = self.request(
            "POST", "/app/common/checkVersions.jhtml", body=b"",
            headers={"Content-Type": "application/x-www-form-urlencoded"})
        self.assertEqual(response.status, 200)
        self.assertEqual(json.loads(data), {"version": "1.0.0.0", "upFiles": []})

    def test_pages_are_served_as_utf8_html(self):
        for path in ("/app/login.jhtml", "/app/login.jhtml?from=x", "/other/help.jhtml"):
            with self.subTest(path=path):
                response, data = self.request("GET", path)
                self.assertEqual(response.status, 200)
                self.assertEqual(response.getheader("Content-Type"), "text/html; charset=utf-8")
                self.assertEqual(int(response.getheader("Content-Length")), len(data))
                data.decode("utf-8")

    def test_broken_link_points_at_a_port_that_refuses(self):
        _, data = self.request("GET", "/app/login.jhtml")
        page = data.decode("utf-8")
        self.assertNotIn("__REFUSED_PORT__", page)
        marker = 'href="http://127.0.0.1:'
        start = page.index(marker) + len(marker)
        port = int(page[start:page.index("/", start)])
        self.assertNotEqual(port, self.port)
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", port), timeout=5).close()

    def test_unknown_addresses_and_bad_requests(self):
        cases = [
            ("GET", "/app/nothing.jhtml", None, {}, 404),
            ("POST", "/app/login.jhtml", b"", {}, 404),
            ("POST", "/app/common/checkVersions.jhtml", b"", {"Content-Length": "x"}, 400),
            ("POST", "/app/common/checkVersions.jhtml", b"", {"Content-Length": "-5"}, 400),
            ("POST", "/app/common/checkVersions.jhtml", b"",
             {"Content-Length": str(64 << 20)}, 413),
        ]
        for method, path, body, headers, status in cases:
            with self.subTest(method=method, path=path, headers=headers):
                connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
                connection.putrequest(method, path)
                for name, value in headers.items():
                    connection.putheader(name, value)
                connection.endheaders()
                response = connection.getresponse()
                response.read()
                connection.close()
                self.assertEqual(response.status, status)
        # None of them took the server down.
        response, _ = self.request("GET", "/app/login.jhtml")
        self.assertEqual(response.status, 200)

    def test_a_page_report_is_one_log_line(self):
        response, _ = self.request(
            "GET", "/app/report?event=api-answered&detail=00-11%0A22%0Dfake%20line")
        self.assertEqual(response.status, 204)
        deadline = time.monotonic() + 5
        while "demo: page api-answered" not in self.log_text() and time.monotonic() < deadline:
            time.sleep(0.05)
        lines = [l for l in self.log_text().splitlines() if l.startswith("demo: page ")]
        self.assertIn("demo: page api-answered 00-11 22 fake line", lines)
        self.assertFalse(any(l.startswith("fake") for l in self.log_text().splitlines()))

    @unittest.skipIf(CHROMIUM is None, "no chromium to load the page in")
    def test_a_plain_browser_is_told_the_functions_are_missing(self):
        profile = tempfile.mkdtemp(prefix="talmic-demo-chromium-")
        try:
            result = subprocess.run(
                [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu",
                 "--user-data-dir=" + profile, "--virtual-time-budget=3000", "--dump-dom",
                 "http://127.0.0.1:%d/app/login.jhtml" % self.port],
                capture_output=True, timeout=90)
        finally:
            shutil.rmtree(profile, ignore_errors=True)
        dom = result.stdout.decode("utf-8")
        self.assertIn('data-script-errors="0"', dom)
        # Each of the four values says it needs the client.
        self.assertEqual(dom.count('<span class="muted">仅在 Talmic 客户端中可用</span>'), 4, dom)
        self.assertIn('error">修改窗口标题仅在 Talmic 客户端中可用。</div>', dom)
        self.assertIn('"client-state">当前页面不在 Talmic 客户端中打开', dom)


if __name__ == "__main__":
    unittest.main()
