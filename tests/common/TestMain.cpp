// Every test program runs with COM and the common controls, as a form does.
#include "TestHost.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  const int failed = RUN_ALL_TESTS();
  OleUninitialize();
  return failed;
}
