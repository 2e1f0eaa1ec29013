"""Image files read by a decoder outside the platform (ImageMagick), and writes
that fail halfway (a file-size limit on the writing process) leaving no file.

The writing is done by framlet_image_writers.exe (tests/e2e/writers/), whose
cases fail unless this test gives them their folders.
"""
import os
import resource
import shutil
import signal
import struct
import subprocess
import unittest

import harness


def run_export(test_filter, extra_env, preexec=None):
    harness.prepare_wine()
    env = dict(harness.ENV)
    env.update(extra_env)
    result = subprocess.run(["wine", harness.built("tests/framlet_image_writers.exe"), "--gtest_filter=" + test_filter],
                            env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=300,
                            preexec_fn=preexec)
    return result.returncode, result.stdout.decode("utf-8", errors="replace")


def magick_rgb(path):
    """The picture as ImageMagick decodes it: (format, width, height, RGB bytes)."""
    info = subprocess.run(["identify", "-format", "%m %w %h\n", path], capture_output=True, check=True)
    fmt, width, height = info.stdout.decode().split("\n")[0].split()
    rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    return fmt, int(width), int(height), rgb


def max_error(a, b):
    return max(abs(x - y) for x, y in zip(a, b))


class ImageFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # scripts/setup.sh installs ImageMagick; without it there is nothing to compare against.
        for tool in ("identify", "convert"):
            if shutil.which(tool) is None:
                raise AssertionError("ImageMagick's %s is not installed (scripts/setup.sh installs it)" % tool)

    def setUp(self):
        self.out = os.path.join(harness.RUNS_DIR, "ImageFiles." + self._testMethodName)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)

    def test_outside_decoder_reads_each_format(self):
        rc, log = run_export("ImageExport.WritesSamplesForOutsideDecoders",
                             {"FRAMLET_IMAGE_OUT": harness.unix_to_windows(self.out)})
        self.assertEqual(rc, 0, log)
        self.assertIn("[       OK ]", log)

        def raw(name):
            with open(os.path.join(self.out, name), "rb") as f:
                return f.read()

        shot = raw("shot.rgb")
        sizes = {}
        for name, expected_format, exact in [("shot.bmp", "BMP", True), ("shot.png", "PNG", True),
                                             ("few.gif", "GIF", True), ("odd.bmp", "BMP", True),
                                             ("shot.gif", "GIF", False), ("shot.jpg", "JPEG", False),
                                             ("shot_q50.jpg", "JPEG", False)]:
            path = os.path.join(self.out, name)
            sizes[name] = os.path.getsize(path)
            fmt, width, height, rgb = magick_rgb(path)
            self.assertTrue(fmt.startswith(expected_format), "%s read as %s" % (name, fmt))
            source = raw(name.split(".")[0].replace("_q50", "") + ".rgb")
            self.assertEqual(len(rgb), len(source), name)
            if exact:
                self.assertEqual(rgb, source, name)
            else:
                mean = sum(abs(x - y) for x, y in zip(rgb, source)) / len(source)
                print("%s: %d bytes, %dx%d, max channel error %d, mean %.2f"
                      % (name, sizes[name], width, height, max_error(rgb, source), mean))
                self.assertLess(mean, 6.0, name)
        print("sizes:", sizes)

        # The BMP's headers as written: 24 bits, bottom-up, pixels at 54.
        with open(os.path.join(self.out, "odd.bmp"), "rb") as f:
            data = f.read()
        magic, size, _, offset, header, width, height, planes, bits, compression, image = \
            struct.unpack("<2sIIIIiiHHII", data[:38])
        self.assertEqual((magic, size, offset, header), (b"BM", len(data), 54, 40))
        self.assertEqual((width, height, planes, bits, compression, image), (5, 3, 1, 24, 0, 3 * 16))

    def test_a_write_that_fails_halfway_leaves_no_file(self):
        limited = os.path.join(self.out, "limited")
        os.makedirs(limited)
        limit = 4096

        def limit_file_size():
            # Writes past the limit fail with EFBIG instead of ending the process.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        rc, log = run_export("ImageExport.WritesThatFailHalfwayLeaveNoFile",
                             {"FRAMLET_IMAGE_LIMITED": harness.unix_to_windows(limited)}, preexec=limit_file_size)
        self.assertEqual(rc, 0, log)
        self.assertIn("[       OK ]", log)
        self.assertEqual(sorted(os.listdir(limited)), ["small.bmp"])


if __name__ == "__main__":
    harness.main()
