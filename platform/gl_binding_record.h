// What is bound on the current context: the program in use and the 2D texture on each unit, kept
// by the calls that bind them, so that nobody asks the driver while a frame is drawn (a query is a
// stall on a GPU and a round trip in a browser). The drawing layer and the shader runtime bind
// through here; everything above them binds through the drawing layer.
// Invariant: texture unit 0 is the active unit between calls.
#pragma once

namespace platform {

// Units whose 2D texture the record keeps; a unit past them is bound but not recorded.
constexpr int kRecordedTextureUnits = 8;

// A context was just made (or is used afresh): no program, no texture, unit 0 active.
void resetBindingRecord();

void useProgram(unsigned int program);  // 0: none
unsigned int programInUse();

// Binds the texture to the unit's 2D target and leaves unit 0 active; a bind of what the unit
// already has is dropped.
void bindTexture2D(int unit, unsigned int texture);
unsigned int textureOnUnit(int unit);  // 0 for a unit past the record
// Deletes the textures; the units that had one bound have none, as the GL leaves them.
void deleteTextures(int count, const unsigned int* textures);

}  // namespace platform
