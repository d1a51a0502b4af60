// The Windows desktop program's tests: one thread with COM and the common controls, as the program has.
#include <gtest/gtest.h>

#include "shell_win32/win32.h"

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
