#include "effects/spring_system.h"

#include <cassert>

#include "core/debug_log.h"

Mass::Mass(float x, float y, float z, float dampingPerSecond, float inverseMassValue)
    : inverseMass(inverseMassValue), damping(dampingPerSecond), position(x, y, z, 0.0f) {}

void Mass::integrate(float dtSeconds) {
  force *= dtSeconds * inverseMass;
  // Damping acts on the old velocity before this step's impulse is added; past dt·damping = 1
  // it reverses the old velocity rather than clamping it.
  velocity *= 1.0f - dtSeconds * damping;
  velocity += force;
  nextPosition = position + velocity * dtSeconds;
  force = Vector3();
}

void SpringSystem::addMass(float x, float y, float z, float damping, float inverseMass) {
  masses_.emplace_back(x, y, z, damping, inverseMass);
}

bool SpringSystem::addSpring(int32_t massA, int32_t massB, float restLength, float stiffness) {
  const int32_t count = massCount();
  if (massA < 0 || massA >= count || massB < 0 || massB >= count) {
    DebugLog::append(kLogFileName, "SpringSystem: spring between masses %d and %d refused, there are %d masses\r\n",
                     massA, massB, count);
    return false;
  }
  springs_.push_back(Spring{restLength, stiffness, massA, massB});
  return true;
}

Mass& SpringSystem::mass(int32_t index) {
  assert(index >= 0 && index < massCount() && "mass index out of range");
  return masses_[index];
}

const Mass& SpringSystem::mass(int32_t index) const {
  assert(index >= 0 && index < massCount() && "mass index out of range");
  return masses_[index];
}

Spring& SpringSystem::spring(int32_t index) {
  assert(index >= 0 && index < springCount() && "spring index out of range");
  return springs_[index];
}

const Spring& SpringSystem::spring(int32_t index) const {
  assert(index >= 0 && index < springCount() && "spring index out of range");
  return springs_[index];
}

void SpringSystem::addSpringForces() {
  for (const Spring& spring : springs_) {
    Mass& a = masses_[spring.massA];
    Mass& b = masses_[spring.massB];
    Vector3 d = b.position - a.position;
    const float len = d.length();
    // Coincident masses have no direction to push along: no force this step.
    if (len > 0.0f) {
      d *= (len - spring.restLength) / len * spring.stiffness;
      a.force += d;
      b.force -= d;
    }
  }
}

void SpringSystem::simulate(float dtSeconds) {
  addSpringForces();
  for (Mass& m : masses_) {
    m.force += constantForce;
    m.integrate(dtSeconds);
  }
  for (Mass& m : masses_) {
    if (!m.pinned) {
      m.position = m.nextPosition;
    }
  }
}

void SpringSystem::writeState(StateRecord& record) const {
  record.write(constantForce);
  for (const Mass& mass : masses_) {
    record.write(mass.position);
    record.write(mass.nextPosition);
    record.write(mass.velocity);
    record.write(mass.force);
    record.write(static_cast<uint8_t>(mass.pinned ? 1 : 0));
  }
  record.writeAll(springs_);
}

void SpringSystem::readState(StateReader& reader) {
  reader.read(constantForce);
  for (Mass& mass : masses_) {
    uint8_t pinned = 0;
    reader.read(mass.position);
    reader.read(mass.nextPosition);
    reader.read(mass.velocity);
    reader.read(mass.force);
    reader.read(pinned);
    mass.pinned = pinned != 0;
  }
  reader.readAll(springs_);
}
