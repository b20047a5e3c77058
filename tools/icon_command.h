// The tools program's "icon" subcommand: icon FILE.png [--size N] writes the program's icon,
// painted for N pixels a side (16, 32, 48, 64, 128, 256 or 512; 256 when not given), as a PNG.
#pragma once

int runIconCommand(int argc, char** argv);

constexpr const char* kIconUsage = "FILE.png [--size 16|32|48|64|128|256|512]";
constexpr int kDefaultIconSize = 256;
