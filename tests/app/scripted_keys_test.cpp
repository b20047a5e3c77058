#include "app/scripted_keys.h"

#include <gtest/gtest.h>

#include "app/presentation.h"
#include "core/input_state.h"

namespace {

TEST(ScriptedKeys, pressesAreReadInFrameOrderAndBadEntriesRefuseTheWholeScript) {
  std::vector<ScriptedKey> keys;
  std::string problem;
  ASSERT_TRUE(parseScriptedKeys("30:P,10:Right,10:F1,90:Escape,40:Home,50:Left,60:Q", keys, problem));
  ASSERT_EQ(keys.size(), 7u);
  EXPECT_EQ(keys[0].frame, 10);
  EXPECT_EQ(keys[0].virtualKey, static_cast<uint32_t>(kKeyRight));
  EXPECT_EQ(keys[1].virtualKey, static_cast<uint32_t>(kKeyF1));
  EXPECT_EQ(keys[2].virtualKey, static_cast<uint32_t>('P'));
  EXPECT_EQ(keys[6].virtualKey, static_cast<uint32_t>(kKeyEscape));

  for (const char* bad : {"P", ":P", "x:P", "10:Pause", "-1:P", "10:", "10P"}) {
    std::vector<ScriptedKey> kept = keys;
    EXPECT_FALSE(parseScriptedKeys(bad, kept, problem)) << bad;
    EXPECT_EQ(kept.size(), keys.size()) << bad;
  }
  EXPECT_TRUE(parseScriptedKeys("", keys, problem));
  EXPECT_TRUE(keys.empty());
}

TEST(ScriptedKeys, playbackKeysAskForTheirChangeAndOthersForNone) {
  EXPECT_EQ(requestForKey('P'), PlaybackRequest::TogglePause);
  EXPECT_EQ(requestForKey(kKeyRight), PlaybackRequest::JumpAhead);
  EXPECT_EQ(requestForKey(kKeyLeft), PlaybackRequest::JumpBack);
  EXPECT_EQ(requestForKey(kKeyHome), PlaybackRequest::GoToStart);
  EXPECT_EQ(requestForKey(kKeySpace), PlaybackRequest::None);
  EXPECT_EQ(requestForKey(kKeyF1), PlaybackRequest::None);
}

}  // namespace
