#pragma once

#include <string>
#include <vector>

// A private directory below $TMPDIR for one fuzzing process, removed again when the process ends. Its
// last component holds non-ASCII characters (UTF-8), as user directories often do.
const std::string& scratchDirectory();

// Writes or removes one file of the scratch directory.
void writeScratchFile(const std::string& name, const std::string& bytes);
void removeScratchFile(const std::string& name);

// Every regular file, directory and other entry below root (recursively), as paths relative to root.
std::vector<std::string> listTree(const std::string& root);
