#include <gtest/gtest.h>

#include "app/program.h"
#include "app/program_run.h"
#include "core/input_state.h"
#include "platform/native_window.h"

namespace {

using platform::MessageType;
using platform::WindowMessage;

uint32_t words(int low, int high) { return static_cast<uint32_t>(low) | (static_cast<uint32_t>(high) << 16); }

bool quitIsWaiting() {
  WindowMessage message;
  bool sawQuit = false;
  while (platform::peekMessage(message)) {
    sawQuit = sawQuit || message.type == MessageType::Quit;
  }
  return sawQuit;
}

TEST(WindowProcedure, recordsKeysAndEscapePostsQuit) {
  quitIsWaiting();
  InputState& input = inputState();
  input.clearKeys();
  windowProcedure(WindowMessage{MessageType::KeyDown, kKeyPageUp, 0});
  EXPECT_EQ(input.keyState[kKeyPageUp], 1);
  EXPECT_FALSE(quitIsWaiting());
  windowProcedure(WindowMessage{MessageType::KeyUp, kKeyPageUp, 0});
  EXPECT_EQ(input.keyState[kKeyPageUp], 0);
  windowProcedure(WindowMessage{MessageType::KeyDown, kKeyEscape, 0});
  EXPECT_EQ(input.keyState[kKeyEscape], 1);
  EXPECT_TRUE(quitIsWaiting());
  windowProcedure(WindowMessage{MessageType::KeyDown, 999, 0});  // out of the table: ignored
  input.clearKeys();
}

TEST(WindowProcedure, closePostsQuit) {
  quitIsWaiting();
  windowProcedure(WindowMessage{MessageType::Close, 0, 0});
  EXPECT_TRUE(quitIsWaiting());
}

TEST(WindowProcedure, recordsMouseSizeAndActivity) {
  InputState& input = inputState();
  windowProcedure(WindowMessage{MessageType::MouseMove, 0, words(640, 480)});
  EXPECT_EQ(input.mouseX, 640);
  EXPECT_EQ(input.mouseY, 480);
  // Dragged past the left and top edges: positions are signed, as the messages carry them.
  windowProcedure(WindowMessage{MessageType::MouseMove, 0, words(0x10000 - 92, 0x10000 - 5)});
  EXPECT_EQ(input.mouseX, -92);
  EXPECT_EQ(input.mouseY, -5);
  windowProcedure(WindowMessage{MessageType::LButtonDown, 0, 0});
  windowProcedure(WindowMessage{MessageType::RButtonDown, 0, 0});
  EXPECT_EQ(input.leftButton, 1);
  EXPECT_EQ(input.rightButton, 1);
  windowProcedure(WindowMessage{MessageType::LButtonUp, 0, 0});
  windowProcedure(WindowMessage{MessageType::RButtonUp, 0, 0});
  EXPECT_EQ(input.leftButton, 0);
  EXPECT_EQ(input.rightButton, 0);

  windowProcedure(WindowMessage{MessageType::Activate, words(0, 1), 0});
  EXPECT_EQ(input.appActive, 0);
  windowProcedure(WindowMessage{MessageType::Activate, words(0, 0), 0});
  EXPECT_EQ(input.appActive, 1);

  windowProcedure(WindowMessage{MessageType::Size, 0, words(1024, 0)});
  EXPECT_EQ(programRun().window.drawableWidth(), 1024);
  EXPECT_EQ(programRun().window.drawableHeight(), 1);
}

// SDL names keys by their character or by 0x40000000 plus their scan code; the input state reads
// Windows codes, whose letters and digits are their upper-case ASCII.
TEST(VirtualKeys, sdlKeysMapToWindowsCodes) {
  EXPECT_EQ(platform::virtualKeyFromSdl(27), kKeyEscape);
  EXPECT_EQ(platform::virtualKeyFromSdl(' '), kKeySpace);
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000004B), kKeyPageUp);
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000004E), kKeyPageDown);
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000003A), kKeyF1);
  EXPECT_EQ(platform::virtualKeyFromSdl(0x40000044), kKeyF11);
  EXPECT_EQ(platform::virtualKeyFromSdl(0x40000101), -1);  // a key with no code

  EXPECT_EQ(kKeyEscape, 27);
  EXPECT_EQ(kKeyF1, 112);
  EXPECT_EQ(letterKey('q'), 'Q');
  EXPECT_EQ(letterKey('Q'), 'Q');
  EXPECT_EQ(digitKey('7'), '7');
}

// Every letter, digit and function key reaches its own code, the one its name gives.
TEST(VirtualKeys, everyLetterDigitAndFunctionKeyReachesItsCode) {
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    EXPECT_EQ(platform::virtualKeyFromSdl(letter), letterKey(letter)) << letter;
  }
  for (char digit = '0'; digit <= '9'; ++digit) {
    EXPECT_EQ(platform::virtualKeyFromSdl(digit), digitKey(digit)) << digit;
  }
  for (int n = 0; n < 12; ++n) {
    EXPECT_EQ(platform::virtualKeyFromSdl(0x4000003A + n), kKeyF1 + n) << "F" << n + 1;
  }
}

}  // namespace
