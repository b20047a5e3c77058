// orvo-gl-tool inspect-image FILE [--raw OUT]: decodes a picture as the texture manager would and
// prints one JSON line with its format, size, depth, alpha and a SHA-256 of its 24-bit pixels.
#pragma once

int runInspectImage(int argc, char** argv);
