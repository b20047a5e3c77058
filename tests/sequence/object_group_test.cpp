#include <gtest/gtest.h>

#include <memory>

#include "sequence/object_group.h"

namespace {

// Counts its own destruction, and how many of those still had children linked: a parent freed
// with its links in place would reach into children that may already be gone.
class CountedObject : public CGameObj {
 public:
  CountedObject(int* destroyed, int* destroyedLinked) : destroyed_(destroyed), destroyedLinked_(destroyedLinked) {}
  ~CountedObject() override {
    *destroyed_ += 1;
    *destroyedLinked_ += children.empty() ? 0 : 1;
  }

 private:
  int* destroyed_;
  int* destroyedLinked_;
};

TEST(ObjectGroup, teardownFreesLinkedObjectsWhateverOrderTheyWereTakenIn) {
  int destroyed = 0;
  int destroyedLinked = 0;
  {
    ObjectGroup group;
    // The child part is taken first, so it is not the last to go: its parent must not touch it.
    auto part = std::make_unique<CountedObject>(&destroyed, &destroyedLinked);
    CGameObj* const keptPart = group.keep(std::move(part));
    CGameObj* const holder = group.add(std::make_unique<CountedObject>(&destroyed, &destroyedLinked));
    holder->addChild(keptPart);
    EXPECT_EQ(group.children.size(), 1u);
  }
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(destroyedLinked, 0);
}

}  // namespace
