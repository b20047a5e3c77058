#include <gtest/gtest.h>

#include "effects/spring_system.h"

namespace {

// Two masses at rest, inverse mass 1 and damping 10, one spring of stiffness 44.
SpringSystem makePair(float separation, float restLength) {
  SpringSystem system;
  system.addMass(0.0f, 0.0f, 0.0f, 10.0f, 1.0f);
  system.addMass(separation, 0.0f, 0.0f, 10.0f, 1.0f);
  EXPECT_TRUE(system.addSpring(0, 1, restLength, 44.0f));
  return system;
}

TEST(SpringSystem, stretchedSpringPullsBothMassesTogetherBySemiImplicitEuler) {
  SpringSystem system = makePair(3.0f, 2.0f);
  system.simulate(0.1f);
  EXPECT_NEAR(system.mass(0).velocity.x, 4.4f, 1e-5f);
  EXPECT_NEAR(system.mass(1).velocity.x, -4.4f, 1e-5f);
  EXPECT_NEAR(system.mass(0).position.x, 0.44f, 1e-5f);
  EXPECT_NEAR(system.mass(1).position.x, 3.0f - 0.44f, 1e-5f);
  EXPECT_EQ(system.mass(0).force.x, 0.0f);
}

TEST(SpringSystem, springAtRestLengthOrBetweenCoincidentMassesExertsNoForce) {
  SpringSystem atRest = makePair(2.0f, 2.0f);
  SpringSystem coincident = makePair(0.0f, 2.0f);
  atRest.simulate(0.1f);
  coincident.simulate(0.1f);
  EXPECT_EQ(atRest.mass(1).position.x, 2.0f);
  EXPECT_EQ(coincident.mass(0).position.x, 0.0f);
  EXPECT_EQ(coincident.mass(1).position.x, 0.0f);
}

TEST(SpringSystem, dampingActsOnTheOldVelocityWithoutAClamp) {
  SpringSystem system;
  system.addMass(0.0f, 0.0f, 0.0f, 10.0f, 1.0f);
  system.mass(0).velocity = Vector3(1.0f, 0.0f, 0.0f);
  system.simulate(0.1f);  // dt × damping = 1: the old velocity is gone
  EXPECT_EQ(system.mass(0).velocity.x, 0.0f);
  system.mass(0).velocity = Vector3(1.0f, 0.0f, 0.0f);
  system.simulate(0.2f);  // dt × damping = 2: reversed
  EXPECT_NEAR(system.mass(0).velocity.x, -1.0f, 1e-6f);
}

TEST(SpringSystem, pinnedMassStaysWhileItsVelocityAndNextPositionUpdate) {
  SpringSystem system = makePair(3.0f, 2.0f);
  system.mass(0).pinned = true;
  system.constantForce = Vector3(0.0f, -10.0f, 0.0f);
  system.simulate(0.1f);
  EXPECT_EQ(system.mass(0).position.x, 0.0f);
  EXPECT_EQ(system.mass(0).position.y, 0.0f);
  EXPECT_NEAR(system.mass(0).nextPosition.x, 0.44f, 1e-5f);
  EXPECT_NEAR(system.mass(1).velocity.y, -1.0f, 1e-6f);
}

TEST(SpringSystem, springNamingAMissingMassIsRefused) {
  SpringSystem system;
  system.addMass(0.0f, 0.0f, 0.0f, 1.0f, 1.0f);
  system.addMass(1.0f, 0.0f, 0.0f, 1.0f, 1.0f);
  EXPECT_FALSE(system.addSpring(0, 2, 1.0f, 1.0f));
  EXPECT_FALSE(system.addSpring(-1, 1, 1.0f, 1.0f));
  EXPECT_EQ(system.springCount(), 0);
  system.simulate(0.1f);
  EXPECT_TRUE(system.addSpring(1, 0, 1.0f, 1.0f));
  EXPECT_EQ(system.springCount(), 1);
}

}  // namespace
