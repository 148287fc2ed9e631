#pragma once
// The registration page's rules: what a new account needs so that the program can log in with it.

#include <map>
#include <string>
#include <string_view>

namespace tafserver {

class Database;

struct RegistrationFields
{
    std::string email; // trimmed
    std::string password;
    std::string passwordAgain;
    std::string name; // trimmed
};

// One message per field, empty when the field is right.
struct RegistrationErrors
{
    std::string email;
    std::string password;
    std::string passwordAgain;
    std::string name;

    bool any() const
    {
        return !email.empty() || !password.empty() || !passwordAgain.empty() || !name.empty();
    }
};

// The form's fields by their names; missing ones are empty.
RegistrationFields registrationFields(const std::map<std::string, std::string> &form);

// Checks of each field on its own (not whether the address is already registered).
RegistrationErrors checkRegistration(const RegistrationFields &fields);

// Checks, then creates the account unless something is wrong or the address is taken.
RegistrationErrors registerUser(Database &db, const RegistrationFields &fields);

} // namespace tafserver
