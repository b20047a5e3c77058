#include <gtest/gtest.h>

#include "app/program.h"
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
  EXPECT_EQ(input.viewportWidth, 1024);
  EXPECT_EQ(input.viewportHeight, 1);
}

TEST(VirtualKeys, sdlKeysMapToWindowsCodes) {
  EXPECT_EQ(platform::virtualKeyFromSdl(27), 27);             // Escape
  EXPECT_EQ(platform::virtualKeyFromSdl(' '), 32);
  EXPECT_EQ(platform::virtualKeyFromSdl('q'), 'Q');
  EXPECT_EQ(platform::virtualKeyFromSdl('7'), '7');
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000004B), 33);     // Page Up
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000004E), 34);     // Page Down
  EXPECT_EQ(platform::virtualKeyFromSdl(0x4000003A), 112);    // F1
  EXPECT_EQ(platform::virtualKeyFromSdl(0x40000101), -1);     // a key with no code
}

}  // namespace
