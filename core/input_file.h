// Reads a whole input file for a loader after checking it is something a loader can take: a
// regular file no larger than the loader's limit. Folders, FIFOs, devices and sockets are refused
// before any byte is read, so none of them can block the caller or make it allocate without bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Why a file was not read, for the loader's log line.
enum class InputFileProblem { None, Missing, Unreadable, Folder, NotRegular, TooLarge, ReadFailed };

struct InputFileResult {
  InputFileProblem problem = InputFileProblem::None;
  std::string reason;  // "is a folder", "is larger than the 67108864-byte limit", ...; empty when read

  bool ok() const { return problem == InputFileProblem::None; }
};

// Fills bytes with the whole file at path, at most maxBytes long. A file that shrinks while it is
// read keeps the bytes that arrived; one that grows is read up to its size when it was checked.
InputFileResult readInputFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes);
