// The control lives in a single-threaded apartment, as in its hosts.
#include <gtest/gtest.h>
#include <ole2.h>

int wmain(int argc, wchar_t** argv) {
  ::OleInitialize(nullptr);
  testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  ::OleUninitialize();
  return rc;
}
