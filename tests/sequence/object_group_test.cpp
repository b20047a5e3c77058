#include <gtest/gtest.h>

#include <memory>

#include "sequence/object_group.h"

namespace {

// Counts its own destruction, so a test can see what the group freed.
class CountedObject : public CGameObj {
 public:
  explicit CountedObject(int* destroyed) : destroyed_(destroyed) {}
  ~CountedObject() override { *destroyed_ += 1; }

 private:
  int* destroyed_;
};

TEST(ObjectGroup, removingAChildFreesItAndMovesTheNextUp) {
  int destroyed = 0;
  ObjectGroup group;
  CGameObj* first = group.add(std::make_unique<CountedObject>(&destroyed));
  CGameObj* second = group.add(std::make_unique<CountedObject>(&destroyed));
  EXPECT_EQ(group.add(nullptr), nullptr);
  ASSERT_EQ(group.children.size(), 2u);
  EXPECT_EQ(first->parent, &group);
  EXPECT_EQ(first->parentCount, 1);

  group.removeChild(0);
  EXPECT_EQ(destroyed, 1);
  ASSERT_EQ(group.children.size(), 1u);
  EXPECT_EQ(group.children[0], second);
}

TEST(ObjectGroup, teardownFreesLinkedObjectsWhateverOrderTheyWereTakenIn) {
  int destroyed = 0;
  {
    ObjectGroup group;
    // The child part is taken first, so it is not the last to go: its parent must not touch it.
    auto part = std::make_unique<CountedObject>(&destroyed);
    CGameObj* const keptPart = group.keep(std::move(part));
    CGameObj* const holder = group.add(std::make_unique<CountedObject>(&destroyed));
    holder->addChild(keptPart);
    EXPECT_EQ(group.children.size(), 1u);
  }
  EXPECT_EQ(destroyed, 2);
}

}  // namespace
