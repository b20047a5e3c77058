// Whole-file output for the baker's encoders.
#pragma once

#include <string>
#include <vector>

namespace baker {

// Creates or replaces the file in one piece; on failure writes "<who>: cannot write <path>: <reason>"
// to stderr and leaves an existing file as it was.
bool writeBytesToFile(const std::string& path, const std::vector<unsigned char>& bytes, const char* who);

}  // namespace baker
