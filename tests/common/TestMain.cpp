#include "TestHost.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new testhost::Environment);
  return RUN_ALL_TESTS();
}
