"""The installer that scripts/package.sh builds, run under Wine: installed,
updated in place, refused over a running copy and removed, its icon and
branding, and its signing. The packages hold a stand-in as the capture program
(so its starts are logged) and are built once for the file; the update server
and the test installers are the updater tests' own."""
import hashlib
import http.server
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.dirname(__file__))
import harness  # noqa: E402
from harness import drive, wait_until  # noqa: E402
from test_updater import LIST_PATH, UpdaterCase, base_list, make_certificate, registry_value, set_registry  # noqa: E402

MACHINE_KEY = r"HKLM\SOFTWARE\Framlet:64"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Framlet:64"
PACKAGES = os.path.join(harness.RUNS_DIR, "installer-packages")
PROGRAM_FILES = os.path.join(harness.ENV["WINEPREFIX"], "drive_c", "Program Files", "Framlet")
_packages = {}


def package(version, sign_env=None, name=None):
    """Framlet-setup.exe of that release (module 2), built once for the file;
    sign_env: package.sh's signing settings."""
    name = name or "setup%s.exe" % version
    if name not in _packages:
        os.makedirs(PACKAGES, exist_ok=True)
        setup = os.path.join(PACKAGES, name)
        env = dict(os.environ, FRAMLET5_EXE=harness.built("tests/standin.exe"),
                   FRAMLETUP_EXE=harness.built("updater/framletup.exe"), FRAMLET_VERSION=version,
                   FRAMLET_MODULE="2", **(sign_env or {}))
        subprocess.run(["bash", os.path.join(harness.SOURCE_DIR, "scripts", "package.sh"), harness.BUILD_DIR, setup],
                       env=env, check=True, stdout=subprocess.DEVNULL)
        _packages[name] = setup
    return _packages[name]


def run_setup(setup, *args):
    """Runs an installer or uninstaller to its end; its exit code."""
    return subprocess.run(["wine", setup] + list(args), env=harness.ENV, timeout=120,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def icon_images(path, group=None):
    """The pictures of a program's icon group (the first group when none is
    named), read from its resource section: each picture's size and digest."""
    with open(path, "rb") as f:
        data = f.read()
    pe, = struct.unpack_from("<I", data, 0x3C)
    sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    resource_rva, = struct.unpack_from("<I", data, directories + 2 * 8)

    def offset(rva):
        for i in range(sections):
            size, address, raw_size, raw = struct.unpack_from("<IIII", data, optional + optional_size + i * 40 + 8)
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise AssertionError("%s: address %#x is in no section" % (path, rva))

    base = offset(resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + i * 8)
            yield name, target

    def leaf(target):
        while target & 0x80000000:  # a directory: its first entry (the first language)
            target = next(entries(target & 0x7FFFFFFF))[1]
        rva, size = struct.unpack_from("<II", data, base + target)
        return data[offset(rva):offset(rva) + size]

    types = dict(entries(0))
    icons = {name: leaf(target) for name, target in entries(types[3] & 0x7FFFFFFF)}
    groups = dict(entries(types[14] & 0x7FFFFFFF))
    directory = leaf(groups[group] if group is not None else next(iter(groups.values())))
    count, = struct.unpack_from("<H", directory, 4)
    pictures = (icons[struct.unpack_from("<H", directory, 6 + i * 14 + 12)[0]] for i in range(count))
    return sorted((len(picture), hashlib.sha256(picture).hexdigest()[:16]) for picture in pictures)


class TimeStampServer:
    """An RFC 3161 time-stamp server on 127.0.0.1 (openssl ts) with a
    throwaway authority of its own: its certificate is `certificate`."""

    def __init__(self, folder):
        self.config = os.path.join(folder, "tsa.cnf")
        self.certificate = os.path.join(folder, "tsa.crt")
        with open(self.config, "w") as f:
            f.write("[req]\ndistinguished_name = dn\n[dn]\n"
                    "[ext]\nbasicConstraints = critical,CA:false\nextendedKeyUsage = critical,timeStamping\n"
                    "[tsa]\ndefault_tsa = this\n"
                    "[this]\nserial = %s/serial\nsigner_cert = %s\nsigner_key = %s/tsa.key\nsigner_digest = sha256\n"
                    "default_policy = 1.2.3.4.1\ndigests = sha256, sha1\ness_cert_id_alg = sha256\n"
                    % (folder, self.certificate, folder))
        with open(os.path.join(folder, "serial"), "w") as f:
            f.write("01\n")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                        os.path.join(folder, "tsa.key"), "-out", self.certificate, "-days", "2",
                        "-subj", "/CN=Framlet test time stamps", "-config", self.config, "-extensions", "ext"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                query = self.rfile.read(int(self.headers["Content-Length"]))
                with tempfile.TemporaryDirectory() as work:
                    asked, reply = os.path.join(work, "q.tsq"), os.path.join(work, "r.tsr")
                    with open(asked, "wb") as f:
                        f.write(query)
                    made = subprocess.run(["openssl", "ts", "-reply", "-config", server.config, "-queryfile", asked,
                                           "-out", reply], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    body = b""
                    if made.returncode == 0:
                        with open(reply, "rb") as f:
                            body = f.read()
                self.send_response(200 if body else 500)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.url = "http://127.0.0.1:%d" % self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def verify(path, *args):
    """osslsigncode's check of a file's signature: (passed, what it printed)."""
    result = subprocess.run(["osslsigncode", "verify", "-in", path] + list(args), stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT)
    return result.returncode == 0, result.stdout.decode("utf-8", "replace")


class InstallerCase(UpdaterCase):
    """Installs go into the prefix, on a machine where none is recorded; each
    case removes what it installed. The class's packages are built before its
    cases."""

    releases = ("7",)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for version in cls.releases:
            package(version)

    def setUp(self):
        super().setUp()
        for key in (MACHINE_KEY, UNINSTALL_KEY):
            harness.registry_delete(key)

    def install_into(self, windows_folder, setup):
        """Installs silently into C:\\<windows_folder>; the folder as this side sees it."""
        folder = os.path.join(harness.ENV["WINEPREFIX"], "drive_c", *windows_folder.split("\\"))
        shutil.rmtree(folder, ignore_errors=True)
        self.addCleanup(shutil.rmtree, folder, True)
        for key in (MACHINE_KEY, UNINSTALL_KEY):
            self.addCleanup(harness.registry_delete, key)
        self.assertEqual(run_setup(setup, "/S", r"/D=C:\%s" % windows_folder), 0)
        return folder


class Installer(InstallerCase):
    """The package built by scripts/package.sh (a stand-in as the capture
    program, so its starts are logged) installed and removed under Wine."""

    def test_silent_install_update_check_and_uninstall(self):
        setup = package("7")
        set_registry(None)
        folder = PROGRAM_FILES
        shortcut = os.path.join(harness.ENV["WINEPREFIX"], "drive_c", "ProgramData", "Microsoft", "Windows",
                                "Start Menu", "Programs", "Framlet", "Framlet.lnk")
        shutil.rmtree(folder, ignore_errors=True)
        for args in (["/S"], ["/S", "/Boot=0"]):
            with self.subTest(args=args):
                self.assertEqual(run_setup(setup, *args), 0)
                self.assertTrue(wait_until(lambda: os.path.exists(os.path.join(folder, "framletup.exe")), timeout=30))
                self.assertTrue(os.path.exists(os.path.join(folder, "framlet5.exe")))
                self.assertTrue(os.path.exists(shortcut))
                self.assertEqual(registry_value("ver"), "7")
                self.assertEqual(registry_value("module"), "2")
                self.assertTrue(harness.holds(lambda: not os.path.exists(os.path.join(folder, "framlet5.exe.log")),
                                              0.5), "a silent install started the program")
        self.assertIn("uninstall.exe", harness.registry_get(UNINSTALL_KEY, "UninstallString") or "")

        # The installed updater sees the installed version: no self-update for an equal one.
        self.folder.write_hosts(self.server.base, folder=folder)
        self.serve_list(base_list(VERSION="7", UPDATEURL=self.server.url("/setup.exe"), UPDATEFILE="s.exe"))
        self.server.routes["/setup.exe"] = (200, self.installer)
        self.start(program=os.path.join(folder, "framletup.exe"))
        self.assertIsNotNone(self.proc.wait(60))
        self.assertTrue(wait_until(lambda: self.folder.standin_starts("framlet5.exe", folder=folder), timeout=10),
                        "the capture program did not start from the installed folder")
        self.assertEqual(self.installs(), [])
        self.assertEqual(self.server.requests, [LIST_PATH])

        # A capture the user kept in the folder stays; everything installed goes.
        with open(os.path.join(folder, "shot_1.png"), "wb") as f:
            f.write(b"picture")
        run_setup(os.path.join(folder, "uninstall.exe"), "/S")
        # The uninstaller goes on from a copy of itself; its own key is the last thing it removes.
        self.assertTrue(wait_until(lambda: harness.registry_get(UNINSTALL_KEY, "UninstallString") is None, timeout=30),
                        "the uninstaller did not finish")
        for name in ("framlet5.exe", "framletup.exe", "uninstall.exe"):
            self.assertFalse(os.path.exists(os.path.join(folder, name)), name)
        self.assertTrue(os.path.exists(os.path.join(folder, "shot_1.png")))
        self.assertFalse(os.path.exists(shortcut))
        self.assertIsNone(registry_value("ver"))
        self.assertIsNone(harness.registry_get(MACHINE_KEY, "ver"))
        shutil.rmtree(folder, ignore_errors=True)

    def test_installer_and_uninstaller_carry_the_programs_icon_and_name(self):
        setup = package("7")
        folder = self.install_into(r"FlBranding\Framlet", setup)
        program_icon = icon_images(harness.built("app/framlet5.exe"), group=harness.ids.IDI_APP)
        uninstaller = os.path.join(folder, "uninstall.exe")
        for path in (setup, uninstaller):
            self.assertEqual(icon_images(path), program_icon, "%s does not carry the program's icon" % path)
        # The branding line at the foot of the first page of each (captioned
        # with the product's name and the page's).
        for path, title in ((setup, "Framlet 설치: 폴더 지정"), (uninstaller, "Framlet 제거: 확인 ")):
            with self.subTest(window=title):
                self.folder.processes.append(harness.Process(subprocess.Popen(
                    ["wine", path], env=harness.ENV, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL), os.path.basename(path)))
                self.assertEqual(drive("wait", title, "60000", "visible")[0], 0, "no window titled %s" % title)
                self.assertEqual(drive("item_text", title, "1028")[1].strip(), "Framlet")
                drive("click_control", title, "2")  # cancel
                self.assertEqual(drive("wait_gone", title, "30000")[0], 0)

    def test_package_signs_everything_with_a_time_stamp_only_when_given_a_certificate(self):
        stamps = TimeStampServer(tempfile.mkdtemp(dir=self.root))
        self.addCleanup(stamps.stop)
        cert, key = make_certificate(self.root, "ours")
        signed = package("7", {"FRAMLET_SIGN_CERT": cert, "FRAMLET_SIGN_KEY": key,
                               "FRAMLET_SIGN_TIMESTAMP": stamps.url}, name="signed7.exe")
        folder = self.install_into(r"FlSigned\Framlet", signed)
        for path in [signed] + [os.path.join(folder, name) for name in ("framlet5.exe", "framletup.exe",
                                                                        "uninstall.exe")]:
            ok, printed = verify(path, "-CAfile", cert, "-TSA-CAfile", stamps.certificate)
            self.assertTrue(ok, "%s: %s" % (path, printed))
            self.assertIn("Timestamp Server Signature verification: ok", printed, path)
        # Without a certificate nothing is signed, and the build's own programs never are.
        for path in (package("7"), harness.built("updater/framletup.exe"), harness.built("app/framlet5.exe")):
            self.assertFalse(verify(path)[0], "%s is signed" % path)


class InstalledElsewhere(InstallerCase):
    """Updates of a program installed in a folder of the user's choosing, over
    a running copy, and for an account that did not install it."""

    releases = ("7", "8")

    def test_silent_update_finds_the_folder_and_leaves_a_running_copy(self):
        set_registry(None)
        shutil.rmtree(PROGRAM_FILES, ignore_errors=True)
        chosen = self.install_into(r"FlChosen\Framlet", package("7"))
        self.assertTrue(os.path.exists(os.path.join(chosen, "framletup.exe")))

        # Over a running copy (its mutex held) nothing changes and the exit code says so.
        program = os.path.join(chosen, "framlet5.exe")
        with open(program, "wb") as f:
            f.write(b"the running copy")
        self.assertEqual(drive("hold_mutex", "Framlet")[0], 0)
        self.addCleanup(drive, "release_mutex", "Framlet")
        self.assertEqual(run_setup(package("8"), "/S"), 2)
        drive("release_mutex", "Framlet")
        self.assertEqual((registry_value("ver"), harness.registry_get(MACHINE_KEY, "ver")), ("7", "7"))
        with open(program, "rb") as f:
            self.assertEqual(f.read(), b"the running copy")

        # The updater's silent run (" /S" only) lands in the same folder.
        self.assertEqual(run_setup(package("8"), "/S"), 0)
        self.assertFalse(os.path.exists(PROGRAM_FILES), "a second copy was installed")
        self.assertEqual((registry_value("ver"), harness.registry_get(MACHINE_KEY, "ver")), ("8", "8"))
        with open(program, "rb") as f, open(harness.built("tests/standin.exe"), "rb") as built:
            self.assertEqual(f.read(), built.read(), "the program was not replaced")

        # Another account has no key of its own: the machine's release counts
        # (no self-update to an equal version) and its hold date is kept.
        set_registry(None)
        self.folder.write_hosts(self.server.base, folder=chosen)
        self.serve_list(base_list(VERSION="8", UPDATEURL=self.server.url("/setup.exe"), UPDATEFILE="s.exe"))
        self.server.routes["/setup.exe"] = (200, self.installer)
        self.start(program=os.path.join(chosen, "framletup.exe"))
        self.assertIsNotNone(self.proc.wait(60))
        self.assertEqual(self.installs(), [])
        self.assertEqual(self.server.requests, [LIST_PATH])
        self.assertNotIn(registry_value("holddate"), (None, "1"))

        # Nor is a running copy uninstalled (run in place, "_?=", so that its
        # exit code is the uninstaller's own).
        drive("hold_mutex", "Framlet")
        self.assertEqual(run_setup(os.path.join(chosen, "uninstall.exe"), "/S", r"_?=C:\FlChosen\Framlet"), 2)
        drive("release_mutex", "Framlet")
        self.assertTrue(os.path.exists(program))
        self.assertIsNotNone(harness.registry_get(UNINSTALL_KEY, "UninstallString"))
        run_setup(os.path.join(chosen, "uninstall.exe"), "/S")
        self.assertTrue(wait_until(lambda: harness.registry_get(UNINSTALL_KEY, "UninstallString") is None, timeout=30),
                        "the uninstaller did not finish")
        self.assertIsNone(harness.registry_get(MACHINE_KEY, "ver"))


if __name__ == "__main__":
    harness.main()
