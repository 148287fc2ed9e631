#pragma once
// The registration page's HTML: the form (with the values kept and what went wrong) and the
// confirmation. Self-contained, no scripts; every echoed value is escaped.

#include "Registration.h"

#include <string>
#include <string_view>

namespace tafserver {

std::string htmlEscape(std::string_view text);

// The passwords are never written back into the page.
std::string registrationFormPage(const RegistrationFields &fields = {},
                                 const RegistrationErrors &errors = {});
std::string registrationDonePage(const RegistrationFields &fields);

} // namespace tafserver
