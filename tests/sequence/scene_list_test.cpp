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
  void load(const FrameContext&) override { journal_.push_back(name_ + ".load"); }
  void advance(const FrameContext& frame) override {
    journal_.push_back(name_ + ".advance " + std::to_string(frame.timeSeconds) + " " +
                       std::to_string(frame.dtSeconds));
  }
  void draw(const FrameContext& frame) override {
    journal_.push_back(name_ + ".draw " + std::to_string(frame.timeSeconds) + " in " +
                       std::to_string(frame.drawable.width) + " x " + std::to_string(frame.drawable.height));
  }
  void resizeSurfaces(const FrameContext& frame) override {
    journal_.push_back(name_ + ".resize " + std::to_string(frame.drawable.surfaceSize.width) + " x " +
                       std::to_string(frame.drawable.surfaceSize.height));
  }

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
    const FrameContext frame = frameOf(1.5f, 0.1f, Drawable{1024, 768, SurfaceSize{655, 655}});
    list.initAll();
    list.loadAll(frame);
    list.resizeSurfacesAll(frame);
    list.advanceAll(frame);
    list.drawAll(frame);
  }
  const std::vector<std::string> expected = {
      "outdoor.init", "title.init", "outdoor.load", "title.load", "outdoor.resize 655 x 655", "title.resize 655 x 655",
      "outdoor.advance 1.500000 0.100000", "title.advance 1.500000 0.100000",
      "outdoor.draw 1.500000 in 1024 x 768", "title.draw 1.500000 in 1024 x 768",
      "outdoor.delete", "title.delete"};
  EXPECT_EQ(journal, expected);
}

TEST(SceneList, emptyListDoesNothing) {
  SceneList list;
  const FrameContext frame = frameOf(0.0f, 0.0f, Drawable{});
  list.initAll();
  list.loadAll(frame);
  list.advanceAll(frame);
  list.drawAll(frame);
  EXPECT_EQ(list.size(), 0u);
}

}  // namespace
