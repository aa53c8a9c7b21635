# The time limits of the builds' test runs and of the Wine scripts, in seconds: the one place
# they are set. Sourced by the scripts (scripts/wine.sh, wine-exec.sh, test.sh, run.sh); read
# by CMake through cmake/time_limits.cmake for the tests' own limits, the limits of listing
# them and the waits the tests are compiled with or given. Lines are NAME=seconds, nothing
# else on them. Each limit stays under the one that encloses it, so that the inner one fires
# first and says why.

# A native unit test without a limit of its own (ctest's default).
VEMO_NATIVE_TEST_SECONDS=300
# A test: vemofix's scripts natively, every Windows test under Wine; and listing the tests of
# a test program (GoogleTest's discovery; under Wine for the Windows ones).
VEMO_TEST_SECONDS=120
# One Windows program run through scripts/wine-exec.sh, under VEMO_TEST_SECONDS: a program that
# hangs is ended before ctest would end only the script and leave the program running.
VEMO_WINE_SECONDS=110
# What the end-to-end tests poll for: a window, a message box, a file.
VEMO_WAIT_SECONDS=10
# A program's start, up to its window or its end: a few seconds where 32-bit programs start
# under qemu, more on a busy machine. A program that cannot start ends at once, and the wait
# with it.
VEMO_START_SECONDS=60
# A vemofix run in a test: its work (in an end-to-end test, beyond its start).
VEMO_FIX_RUN_SECONDS=30
# What the platform tests poll for: a message box of their own, a program they started.
VEMO_PLATFORM_WAIT_SECONDS=30

# The same for the end-to-end tests that start programs many times over (VEMO_LONG_TEST set in
# their environment): vemofix.exe killed at random instants, vemofix.exe and the window started
# together, 40 to 60 starts each.
VEMO_LONG_TEST_SECONDS=600
VEMO_LONG_WINE_SECONDS=580
# The check before the Windows tests: one shipped 32-bit program prints its version.
VEMO_FIRST_START_SECONDS=100
# The display of a Wine session of its own (Xvfb) to take clients.
VEMO_DISPLAY_SECONDS=30
# A Wine session waiting for another in the same prefix to end (make test beside make run).
VEMO_SESSION_WAIT_SECONDS=900

# Preparing a Wine prefix: wineboot once (and the wait for another session making it), then
# each setting and the wait for the server.
VEMO_WINEBOOT_SECONDS=300
VEMO_WINE_SETTING_SECONDS=120
# make run without a display: one whole run of the demo under Xvfb, and one step of it (the
# window's start, the check of the list, a run of the window's Execute, a vemofix.exe run).
VEMO_DEMO_SECONDS=300
VEMO_DEMO_STEP_SECONDS=120
