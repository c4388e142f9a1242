#pragma once

#include <string>

// Second stage of method 1: expands the literal and match tokens of "huff.tmp" against a 4096-byte window
// into "lzss.tmp". A match copies the window as it stood before the match, starting offset bytes back from
// the write position. targetDir is the encoded path of the target directory and ends in "/".
// Returns 0 on success, 1 when a file cannot be opened, read or written.
int decodeLzssTemp(const std::string& targetDir);
