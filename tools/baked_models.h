// The presentation's models as the baker makes them, each with the pictures its materials name.
// Every model is in the presentation's axes (y up), in the units the scenes place it with.
#pragma once

#include <string>
#include <vector>

#include "tools/baked_model.h"
#include "tools/baked_picture.h"

namespace baker {

// A picture a model's material names, with the file name written into the model.
struct ModelPicture {
  std::string fileName;
  BakedPicture picture;
};

// "palm02.3ds": a curved trunk about 9 units tall under a crown of drooping fronds, standing on
// its origin; the crown stays within 4 units of the trunk's axis.
BakedModel buildPalmModel();
std::vector<ModelPicture> paintPalmPictures();

// "windmill_body.3ds": a tapering round tower with a cap, about 6.5 units tall, door toward +z;
// the wings' hub sits at (0, 5.7, 0). "windmill_wings.3ds": four lattice sails in the x-y
// plane around the origin, just in front (+z) of the cap.
BakedModel buildWindmillBodyModel();
BakedModel buildWindmillWingsModel();
std::vector<ModelPicture> paintWindmillPictures();

// "rocketlauncher.3ds": the plinth "launcherb", the turret "turret" that turns about the y axis,
// and the tube pod "launcherbp" pointing along +x, built around its pivot (0.32, 3.45, 0).
constexpr float kLauncherPivotX = 0.32f;
constexpr float kLauncherPivotY = 3.45f;
BakedModel buildLauncherModel();
std::vector<ModelPicture> paintLauncherPictures();

// "missile.3ds": body, nose cone, fins and nozzle, 2.5 units long along x, nose toward +x.
BakedModel buildMissileModel();
std::vector<ModelPicture> paintMissilePictures();

// "sky.3ds": a dome of radius 800 around the origin, faces toward the inside, reaching below
// the horizon; its picture holds the sky's gradient, sun and clouds.
constexpr float kSkyRadius = 800.0f;
BakedModel buildSkyModel();
std::vector<ModelPicture> paintSkyPictures();

}  // namespace baker
