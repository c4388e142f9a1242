#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Writes one seed file: directory, file name, contents. False when it cannot be written.
using SeedWriter = std::function<bool(const std::filesystem::path&, const std::string&, const std::string&)>;

// Seeds of the decoder targets below root: packed records, the stages' own intermediate files, and
// archives packed from small generated catalogs.
bool writeDecoderSeeds(const std::filesystem::path& root, const SeedWriter& write);
