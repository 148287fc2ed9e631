#include "Registration.h"

#include "Auth.h"
#include "Database.h"
#include "Text.h"

#include <algorithm>
#include <optional>

namespace tafserver {
namespace {

constexpr std::size_t kMaxEmail = 254;
constexpr std::size_t kMaxLocalPart = 64;
constexpr std::size_t kMaxLabel = 63;
constexpr std::size_t kMinPassword = 4;
constexpr std::size_t kMaxPassword = 100;
constexpr std::size_t kMaxName = 100;

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiAlnum(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

bool localPartValid(std::string_view local)
{
    static constexpr std::string_view kSigns = "!#$%&'*+/=?^_`{|}~-.";
    if (local.empty() || local.size() > kMaxLocalPart || local.front() == '.' ||
        local.back() == '.' || local.find("..") != std::string_view::npos)
        return false;
    return std::all_of(local.begin(), local.end(), [](char c) {
        return isAsciiAlnum(c) || kSigns.find(c) != std::string_view::npos;
    });
}

// Dot-separated labels of letters, digits and inner hyphens, ending in a name of letters.
bool domainValid(std::string_view domain)
{
    std::size_t labels = 0;
    std::string_view last;
    while (true) {
        const std::size_t dot = domain.find('.');
        const std::string_view label = domain.substr(0, dot);
        if (label.empty() || label.size() > kMaxLabel || label.front() == '-' ||
            label.back() == '-' || !std::all_of(label.begin(), label.end(), [](char c) {
                return isAsciiAlnum(c) || c == '-';
            }))
            return false;
        ++labels;
        last = label;
        if (dot == std::string_view::npos)
            break;
        domain.remove_prefix(dot + 1);
    }
    return labels >= 2 && last.size() >= 2 && std::all_of(last.begin(), last.end(), isAsciiLetter);
}

std::string emailError(std::string_view email)
{
    if (email.empty())
        return "Indicare l'indirizzo e-mail";
    const std::size_t at = email.find('@');
    if (email.size() > kMaxEmail || at == std::string_view::npos ||
        !localPartValid(email.substr(0, at)) || !domainValid(email.substr(at + 1)))
        return "L'indirizzo e-mail non è valido: deve avere la forma nome@dominio.it";
    return {};
}

// The login window discards these keys, so a password holding one could never be typed there.
bool untypable(char32_t cp)
{
    return cp == U' ' || cp == U'"' || cp == U'\'' || cp == U'\\';
}

// Controls, and characters the program cannot send (it speaks Windows-1252).
bool unsendable(char32_t cp)
{
    return cp < 0x20 || cp == 0x7F || !inWindows1252(cp);
}

std::string passwordError(std::string_view password)
{
    if (password.empty())
        return "Indicare la password";
    const std::optional<std::u32string> chars = decodeUtf8(password);
    if (!chars || std::any_of(chars->begin(), chars->end(), unsendable))
        return "La password contiene caratteri non ammessi: usare lettere, cifre e segni comuni";
    if (std::any_of(chars->begin(), chars->end(), untypable))
        return "La password non può contenere spazi, virgolette (\"), apici (') o barre rovesciate "
               "(\\): il programma non permette di digitarli";
    if (chars->size() < kMinPassword)
        return "La password deve avere almeno 4 caratteri";
    if (chars->size() > kMaxPassword)
        return "La password può avere al massimo 100 caratteri";
    return {};
}

std::string nameError(std::string_view name)
{
    if (name.empty())
        return "Indicare nome e cognome del tecnico";
    const std::optional<std::u32string> chars = decodeUtf8(name);
    if (!chars || std::any_of(chars->begin(), chars->end(),
                              [](char32_t cp) { return cp < 0x20 || cp == 0x7F; }))
        return "Nome e cognome contengono caratteri non ammessi";
    if (chars->size() > kMaxName)
        return "Nome e cognome: al massimo 100 caratteri";
    return {};
}

std::string field(const std::map<std::string, std::string> &form, const char *name)
{
    const auto it = form.find(name);
    return it == form.end() ? std::string() : it->second;
}

constexpr const char *kTaken =
    "Questo indirizzo e-mail è già registrato: acceda dal programma con la sua password";

} // namespace

RegistrationFields registrationFields(const std::map<std::string, std::string> &form)
{
    return {std::string(trimmed(field(form, "email"))), field(form, "password"),
            field(form, "password2"), std::string(trimmed(field(form, "nome")))};
}

RegistrationErrors checkRegistration(const RegistrationFields &fields)
{
    RegistrationErrors errors;
    errors.email = emailError(fields.email);
    errors.password = passwordError(fields.password);
    if (fields.passwordAgain != fields.password)
        errors.passwordAgain = "Le due password non coincidono";
    errors.name = nameError(fields.name);
    return errors;
}

RegistrationErrors registerUser(Database &db, const RegistrationFields &fields)
{
    RegistrationErrors errors = checkRegistration(fields);
    if (errors.email.empty()) {
        // Asked first so that a taken address is named together with the other mistakes.
        Statement &q = db.prepared("SELECT 1 FROM utenti WHERE email = ?1");
        q.bind(1, fields.email);
        if (q.step())
            errors.email = kTaken;
        q.reset();
    }
    // The insert itself refuses a taken address too, should two forms race for it.
    if (!errors.any() && !createUser(db, fields.email, fields.password, fields.name))
        errors.email = kTaken;
    return errors;
}

} // namespace tafserver
