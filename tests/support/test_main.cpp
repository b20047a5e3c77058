// The test program's entry: message boxes are scripted so no test ever waits on one, and every
// test starts with the input state of a program that has seen no window message yet, whatever an
// earlier test in the same process left there (the window's size shapes every projection), and
// with an effects register that is loading afresh, as at start-up.
#include <gtest/gtest.h>

#include "core/effects_register.h"
#include "core/input_state.h"
#include "platform/message_box.h"

namespace {

class FreshStart : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override {
    inputState() = InputState();
    effectsRegister().beginLoading();
  }
};

}  // namespace

int main(int argc, char** argv) {
  platform::setScriptedAnswers({});
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new FreshStart());
  return RUN_ALL_TESTS();
}
