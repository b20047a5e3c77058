#include "app/scripted_keys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/presentation.h"
#include "core/input_state.h"

namespace {

TEST(ScriptedKeys, entriesAreReadAsWrittenAndBadEntriesRefuseTheWholeScript) {
  std::vector<ScriptedKey> keys;
  std::string problem;
  ASSERT_TRUE(parseScriptedKeys("30:P,10:Right,10:F1,90:Escape,40:PageUp:25,50:Left,60:Q", keys, problem));
  ASSERT_EQ(keys.size(), 7u);
  EXPECT_EQ(keys[0].frame, 30);
  EXPECT_EQ(keys[0].virtualKey, static_cast<uint32_t>(letterKey('P')));
  EXPECT_EQ(keys[0].heldFrames, 0);
  EXPECT_EQ(keys[1].virtualKey, static_cast<uint32_t>(kKeyRight));
  EXPECT_EQ(keys[2].virtualKey, static_cast<uint32_t>(kKeyF1));
  EXPECT_EQ(keys[3].virtualKey, static_cast<uint32_t>(kKeyEscape));
  EXPECT_EQ(keys[4].virtualKey, static_cast<uint32_t>(kKeyPageUp));
  EXPECT_EQ(keys[4].heldFrames, 25);

  for (const char* bad : {"P", ":P", "x:P", "10:Pause", "-1:P", "10:", "10P", "+3:P", "10:Space:", "10:Space:0",
                          "10:Space:-4", "10:Space:x", "10:Space:3:4", "10::3", "1:Space:9223372036854775807"}) {
    std::vector<ScriptedKey> kept = keys;
    EXPECT_FALSE(parseScriptedKeys(bad, kept, problem)) << bad;
    EXPECT_EQ(problem, bad);
    EXPECT_EQ(kept.size(), keys.size()) << bad;
  }
  EXPECT_TRUE(parseScriptedKeys("", keys, problem));
  EXPECT_TRUE(keys.empty());
}

TEST(ScriptedKeys, lettersReadInEitherCaseAsTheirCapitalKey) {
  std::vector<ScriptedKey> keys;
  std::string problem;
  ASSERT_TRUE(parseScriptedKeys("0:p,1:P,2:z,3:7", keys, problem)) << problem;
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].virtualKey, static_cast<uint32_t>(letterKey('P')));
  EXPECT_EQ(keys[1].virtualKey, static_cast<uint32_t>(letterKey('P')));
  EXPECT_EQ(keys[2].virtualKey, static_cast<uint32_t>(letterKey('Z')));
  EXPECT_EQ(keys[3].virtualKey, static_cast<uint32_t>(digitKey('7')));
  // Named keys keep their one spelling.
  EXPECT_FALSE(parseScriptedKeys("0:escape", keys, problem));
}

TEST(ScriptedKeys, emptyEntriesAreSkippedWhereverTheyStand) {
  for (const char* script : {",10:P,20:Q", "10:P,20:Q,", "10:P,,20:Q", ",,10:P,,,20:Q,,"}) {
    std::vector<ScriptedKey> keys;
    std::string problem;
    ASSERT_TRUE(parseScriptedKeys(script, keys, problem)) << script << ": " << problem;
    ASSERT_EQ(keys.size(), 2u) << script;
    EXPECT_EQ(keys[0].frame, 10);
    EXPECT_EQ(keys[1].virtualKey, static_cast<uint32_t>(letterKey('Q')));
  }
}

// The changes handed out before each frame of a run, as "frame:key:down/up" for short.
std::vector<std::string> playFrames(const std::string& script, long frames) {
  std::vector<ScriptedKey> keys;
  std::string problem;
  EXPECT_TRUE(parseScriptedKeys(script, keys, problem)) << problem;
  ScriptedKeyPlayer player;
  player.load(keys);
  std::vector<std::string> played;
  KeyChange change;
  for (long frame = 0; frame < frames; ++frame) {
    while (player.nextChange(frame, change)) {
      played.push_back(std::to_string(frame) + ":" + std::to_string(change.virtualKey) + (change.down ? ":down" : ":up"));
    }
  }
  return played;
}

// Page Up held from frame 2 for 3 frames is down while frames 2, 3 and 4 are drawn; a press goes
// down and up before its frame, as before.
TEST(ScriptedKeys, aHeldKeyStaysDownForItsFramesAndAPressLastsNoFrame) {
  const std::vector<std::string> expected = {"1:80:down", "1:80:up", "2:33:down", "5:33:up"};
  EXPECT_EQ(playFrames("2:PageUp:3,1:P", 10), expected);
}

// Within a frame, a hold that ends lets its key go before new entries press it again, and
// entries of one frame play in their written order.
TEST(ScriptedKeys, aHoldEndingWhereTheKeyIsPressedAgainGoesUpFirst) {
  const std::vector<std::string> expected = {"0:32:down", "0:33:down", "0:33:up", "2:32:up", "2:32:down", "4:32:up"};
  EXPECT_EQ(playFrames("0:Space:2,0:PageUp,2:Space:2", 10), expected);
}

TEST(ScriptedKeys, playbackKeysAskForTheirChangeAndOthersForNone) {
  EXPECT_EQ(requestForKey(letterKey('P')), PlaybackRequest::TogglePause);
  EXPECT_EQ(requestForKey(kKeyRight), PlaybackRequest::JumpAhead);
  EXPECT_EQ(requestForKey(kKeyLeft), PlaybackRequest::JumpBack);
  EXPECT_EQ(requestForKey(kKeyHome), PlaybackRequest::GoToStart);
  EXPECT_EQ(requestForKey(kKeySpace), PlaybackRequest::None);
  EXPECT_EQ(requestForKey(kKeyF1), PlaybackRequest::None);
}

// Scripts written for the programs' earlier name still play; where both names are set, the
// current one is read and the message about a bad script names the variable it came from.
TEST(ScriptedKeys, theScriptComesFromOrvoGlKeysElseFromItsOlderName) {
  unsetenv("ORVO_GL_KEYS");
  unsetenv("DEMO_KEYS");
  EXPECT_EQ(scriptedKeysSetting().value, nullptr);

  setenv("DEMO_KEYS", "5:P", 1);
  const EnvironmentSetting older = scriptedKeysSetting();
  ASSERT_NE(older.value, nullptr);
  EXPECT_STREQ(older.value, "5:P");
  EXPECT_STREQ(older.name, "DEMO_KEYS");

  setenv("ORVO_GL_KEYS", "7:Escape", 1);
  const EnvironmentSetting both = scriptedKeysSetting();
  ASSERT_NE(both.value, nullptr);
  EXPECT_STREQ(both.value, "7:Escape");
  EXPECT_STREQ(both.name, "ORVO_GL_KEYS");

  // Set but empty still counts as set: an empty script plays no keys rather than the older one.
  setenv("ORVO_GL_KEYS", "", 1);
  ASSERT_NE(scriptedKeysSetting().value, nullptr);
  EXPECT_STREQ(scriptedKeysSetting().value, "");
  unsetenv("ORVO_GL_KEYS");
  unsetenv("DEMO_KEYS");
}

}  // namespace
