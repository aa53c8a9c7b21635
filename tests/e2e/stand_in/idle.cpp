// Stands in for Illustrator or Photoshop in the tests: copied under their names, it runs until
// the test ends it, or, should a test leave it behind, until the test's time is up.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Sleep(VEMO_TEST_SECONDS * 1000);
  return 0;
}
