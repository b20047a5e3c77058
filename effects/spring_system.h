// Point masses joined by Hookean springs, advanced one semi-implicit Euler step at a time.
// Every spring names two masses that exist: addSpring refuses any other, and masses are never removed.
#pragma once

#include <cstdint>
#include <vector>

#include "core/state_record.h"
#include "core/vector3.h"

class Mass {
 public:
  Mass(float x, float y, float z, float dampingPerSecond, float inverseMassValue);
  virtual ~Mass() = default;

  // Turns the accumulated force into this step's velocity and next position, then clears it.
  void integrate(float dtSeconds);

  float inverseMass = 1.0f;  // 1 / mass
  float damping = 0.0f;      // velocity damping per second
  Vector3 position;          // w = 0
  Vector3 nextPosition;      // computed by the step, committed after every mass has moved
  Vector3 velocity;
  Vector3 force;        // accumulated during the current step
  bool pinned = false;  // a pinned mass is never moved by the step
};

struct Spring {
  float restLength = 0.0f;  // length at which the spring exerts no force
  float stiffness = 0.0f;   // force per unit of stretch
  int32_t massA = 0;        // mass indices
  int32_t massB = 0;
};

class SpringSystem {
 public:
  SpringSystem() = default;
  virtual ~SpringSystem() = default;

  void addMass(float x, float y, float z, float damping, float inverseMass);  // index = order of addition
  // False, adding nothing, when either index names no mass.
  bool addSpring(int32_t massA, int32_t massB, float restLength, float stiffness);
  // Springs act on the positions from the start of the step, so their order does not matter.
  void simulate(float dtSeconds);

  Mass& mass(int32_t index);
  const Mass& mass(int32_t index) const;
  Spring& spring(int32_t index);
  const Spring& spring(int32_t index) const;
  int32_t massCount() const { return static_cast<int32_t>(masses_.size()); }
  int32_t springCount() const { return static_cast<int32_t>(springs_.size()); }

  Vector3 constantForce;  // added to every mass at every step

  // Every mass's motion and every spring, as they stand ...
  void writeState(StateRecord& record) const;
  // ... and back, into a system with the same masses and springs.
  void readState(StateReader& reader);

 private:
  void addSpringForces();

  std::vector<Mass> masses_;
  std::vector<Spring> springs_;
};
