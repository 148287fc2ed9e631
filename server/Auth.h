#pragma once
// Accounts: salted PBKDF2-HMAC-SHA256 hashes, and the credentials check of every query.

#include <string>
#include <string_view>

namespace tafserver {

class Database;

std::string hashPassword(std::string_view password);
bool verifyPassword(std::string_view password, std::string_view stored);

// Creates the account or sets a new password.
void addUser(Database &db, std::string_view email, std::string_view password);
// Creates the account with the technician's name; false, changing nothing, when the address is
// already registered (in any letter case).
bool createUser(Database &db, std::string_view email, std::string_view password,
                std::string_view name);

enum class Credentials { Ok, Unknown, Disabled };

// A successful check is remembered for the process (keyed on the stored hash, so a new password
// takes effect at once), which keeps PBKDF2 off the path of every query.
Credentials checkCredentials(Database &db, std::string_view email, std::string_view password);

} // namespace tafserver
