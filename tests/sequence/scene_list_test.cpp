#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sequence/scene_list.h"

namespace {

class RecordingScene : public Scene {
 public:
  RecordingScene(const std::string& name, std::vector<std::string>& journal) : name_(name), journal_(journal) {}
  ~RecordingScene() override { journal_.push_back(name_ + ".delete"); }
  void init() override { journal_.push_back(name_ + ".init"); }
  void load() override { journal_.push_back(name_ + ".load"); }
  void advance(float timeSeconds, float dtSeconds) override {
    journal_.push_back(name_ + ".advance " + std::to_string(timeSeconds) + " " + std::to_string(dtSeconds));
  }
  void draw(float timeSeconds, float) override { journal_.push_back(name_ + ".draw " + std::to_string(timeSeconds)); }

 private:
  std::string name_;
  std::vector<std::string>& journal_;
};

TEST(SceneList, forwardsEveryCallInAppendOrderAndDeletesItsScenes) {
  std::vector<std::string> journal;
  {
    SceneList list;
    list.append(new RecordingScene("outdoor", journal));
    list.append(new RecordingScene("title", journal));
    list.append(nullptr);
    list.initAll();
    list.loadAll();
    list.advanceAll(1.5f, 0.1f);
    list.drawAll(1.5f, 0.1f);
  }
  const std::vector<std::string> expected = {
      "outdoor.init", "title.init", "outdoor.load", "title.load",
      "outdoor.advance 1.500000 0.100000", "title.advance 1.500000 0.100000",
      "outdoor.draw 1.500000", "title.draw 1.500000",
      "outdoor.delete", "title.delete"};
  EXPECT_EQ(journal, expected);
}

TEST(SceneList, emptyListDoesNothing) {
  SceneList list;
  list.initAll();
  list.loadAll();
  list.advanceAll(0.0f, 0.0f);
  list.drawAll(0.0f, 0.0f);
  EXPECT_EQ(list.size(), 0u);
}

}  // namespace
