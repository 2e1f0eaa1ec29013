"""A confirmed replace of an existing picture whose write fails halfway (a
file-size limit on the writing process) keeps the old picture byte for byte
and leaves no temporary file beside it.

The writing is done by framlet_image_writers.exe (tests/e2e/writers/), case
FailedOverwrite.*; this test gives it the limit and the folder, then looks at
the folder from outside.
"""
import os
import resource
import shutil
import signal
import subprocess
import unittest

import harness

LIMIT = 4096


def limit_file_size():
    # Writes past the limit fail with EFBIG instead of ending the process.
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (LIMIT, LIMIT))


class FailedOverwrite(unittest.TestCase):
    def test_old_pictures_survive_a_write_that_fails_halfway(self):
        folder = os.path.join(harness.RUNS_DIR, "FailedOverwrite")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        harness.prepare_wine()
        env = dict(harness.ENV)
        env["FRAMLET_OVERWRITE_LIMITED"] = harness.unix_to_windows(folder)
        result = subprocess.run(["wine", harness.built("tests/framlet_image_writers.exe"),
                                 "--gtest_filter=FailedOverwrite.*"],
                                env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=300,
                                preexec_fn=limit_file_size)
        log = result.stdout.decode("utf-8", errors="replace")
        self.assertEqual(result.returncode, 0, log)
        self.assertIn("[       OK ] FailedOverwrite.", log)

        expected = ["shot%d.img" % n for n in range(1, 5)] + ["small.bmp"]
        self.assertEqual(sorted(os.listdir(folder)), expected)
        for n in range(1, 5):
            with open(os.path.join(folder, "shot%d.img" % n), "rb") as f:
                self.assertEqual(f.read(), b"the picture saved before, %d" % n)


if __name__ == "__main__":
    harness.main()
