// The test program's entry: message boxes are scripted so no test ever waits on one.
#include <gtest/gtest.h>

#include "platform/message_box.h"

int main(int argc, char** argv) {
  platform::setScriptedAnswers({});
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
