#pragma once
// The POST pages: image upload and the printed-card report. Fields arrive as raw bytes (text in
// Windows-1252, files as Base64 text with line breaks).

#include <filesystem>
#include <map>
#include <string>

namespace tafserver {

class Database;

using FormFields = std::map<std::string, std::string>;

// Empty text on success, otherwise an Italian message for the user. Nothing is stored unless
// every image of the request is valid.
std::string uploadImages(Database &db, const std::filesystem::path &root, const FormFields &form);

// Stores one "punto" with the user (when given), the time and the client's address.
std::string recordPrintedCard(Database &db, const FormFields &form, const std::string &address);

} // namespace tafserver
