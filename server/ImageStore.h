#pragma once
// Where the points' images live below the service root, and how files get there: written to a
// temporary file beside the target and renamed into place, so a reader never sees half a file.

#include <filesystem>
#include <string>
#include <string_view>

namespace tafserver {

constexpr int kImageKinds = 4; // monograph, photograph, map extract, auxiliary information

std::string_view kindSuffix(int kind);

// "immagini/H501/0120/05_planim.png" (the comune code carries the section letter, if any).
std::string imagePath(std::string_view comune, std::string_view foglio, int pf, int kind,
                      std::string_view extension);

// Throws std::runtime_error; on failure nothing is left at `relative`.
// `durable` syncs the data to disk before the rename (uploads); bulk generation skips it.
void writeFileAtomically(const std::filesystem::path &root, const std::string &relative,
                         std::string_view bytes, bool durable = true);

} // namespace tafserver
