# The time limits of the builds' test runs and of the Wine scripts, in seconds: the one place
# they are set. Sourced by scripts/wine-env.sh (so by every Wine script and scripts/test.sh);
# read by CMake through cmake/time_limits.cmake for the tests' own limits and the waits the
# Windows tests are compiled with. Lines are NAME=seconds, nothing else on them. Each limit
# stays under the one that encloses it, so that the inner one fires first and says why.

# A native unit test without a limit of its own (ctest's default).
VEMO_NATIVE_TEST_SECONDS=300
# A test: vemofix's scripts natively, every Windows test under Wine, and listing the tests of
# a Windows test program (GoogleTest's discovery, under Wine).
VEMO_TEST_SECONDS=120
# One Windows program run through scripts/wine-exec.sh, under VEMO_TEST_SECONDS: a program that
# hangs is ended before ctest would end only the script and leave the program running.
VEMO_WINE_SECONDS=110
# What the end-to-end tests poll for (a window, a message box, a file), and a program's
# window to appear.
VEMO_WAIT_SECONDS=10
# A vemofix run in an end-to-end test: its work, beyond its start.
VEMO_FIX_RUN_SECONDS=30
# What the platform tests poll for: a message box of their own, a program they started.
VEMO_PLATFORM_WAIT_SECONDS=30

# The same where a test's programs start slowly (VEMO_SLOW_STARTS set in its environment):
# the 32-bit programs, where they start only under qemu, about 50 s a start.
VEMO_SLOW_TEST_SECONDS=900
VEMO_SLOW_WINE_SECONDS=880
VEMO_SLOW_START_SECONDS=300

# Preparing the Wine prefix: wineboot once, then each setting and the wait for the server.
VEMO_WINEBOOT_SECONDS=300
VEMO_WINE_SETTING_SECONDS=120
# make run without a display: one whole run of the demo under Xvfb.
VEMO_DEMO_SECONDS=300
