#include "RegistrationPage.h"

#include "Packet.h"

namespace tafserver {
namespace {

constexpr std::string_view kStyle = R"css(
body { margin: 0; background: #eef1f4; color: #1d2733;
       font: 16px/1.45 "Segoe UI", "DejaVu Sans", Arial, sans-serif; }
main { max-width: 30em; margin: 2.5em auto; padding: 1.5em 2em 2em; background: #fff;
       border: 1px solid #cfd6de; border-radius: 6px; }
h1 { font-size: 1.4em; margin: 0 0 .4em; color: #16406b; }
p.scopo { margin: 0 0 1.2em; color: #44505c; }
p.avviso { margin: 0 0 1em; padding: .6em .8em; background: #fdecea; border-left: 4px solid #c62828; }
p.fatto { padding: .8em 1em; background: #e8f5e9; border-left: 4px solid #2e7d32; }
label { display: block; margin-top: 1em; font-weight: 600; color: #16406b; }
input { box-sizing: border-box; width: 100%; margin-top: .25em; padding: .45em .55em;
        font: inherit; border: 1px solid #9aa7b4; border-radius: 4px; }
input.sbagliato { border-color: #c62828; background: #fffafa; }
small { display: block; color: #5b6773; }
.errore { display: block; margin-top: .25em; color: #c62828; }
button { margin-top: 1.6em; padding: .55em 1.6em; font: inherit; font-weight: 600; color: #fff;
         background: #1f5f99; border: 0; border-radius: 4px; cursor: pointer; }
button:hover { background: #16406b; }
)css";

std::string document(std::string_view title, std::string_view body)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>";
    html += title;
    html += "</title>\n<style>";
    html += kStyle;
    html += "</style>\n</head>\n<body>\n<main>\n";
    html += body;
    html += "</main>\n</body>\n</html>\n";
    return html;
}

struct InputSpec
{
    const char *name;
    const char *label;
    const char *type;
    const char *autocomplete;
    const char *hint; // may be empty
};

// A labelled field; `value` is echoed (escaped) unless it is a password field.
std::string input(const InputSpec &spec, std::string_view value, const std::string &error)
{
    const std::string name = spec.name;
    std::string html = "<label for=\"" + name + "\">" + spec.label + "</label>\n";
    html += "<input id=\"" + name + "\" name=\"" + name + "\" type=\"" + spec.type +
            "\" autocomplete=\"" + spec.autocomplete + "\" required";
    if (!error.empty())
        html += " class=\"sbagliato\" aria-invalid=\"true\"";
    if (std::string_view(spec.type) != "password")
        html += " value=\"" + htmlEscape(value) + "\"";
    html += ">\n";
    if (*spec.hint)
        html += std::string("<small>") + spec.hint + "</small>\n";
    if (!error.empty())
        html += "<span class=\"errore\">" + htmlEscape(error) + "</span>\n";
    return html;
}

} // namespace

std::string htmlEscape(std::string_view text)
{
    // The packets' attribute escaping, plus the apostrophe for single-quoted HTML attributes.
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t quote; (quote = text.find('\'', start)) != std::string_view::npos;
         start = quote + 1) {
        appendXmlEscaped(out, text.substr(start, quote - start));
        out += "&#39;";
    }
    appendXmlEscaped(out, text.substr(start));
    return out;
}

std::string registrationFormPage(const RegistrationFields &fields, const RegistrationErrors &errors)
{
    std::string body = "<h1>Registrazione di un nuovo utente</h1>\n"
                       "<p class=\"scopo\">L'account dà accesso all'archivio dei punti fiduciali "
                       "dal programma Tavix: l'indirizzo e la password scelti qui sono quelli da "
                       "indicare nella finestra di identificazione del programma.</p>\n";
    if (errors.any())
        body += "<p class=\"avviso\" role=\"alert\">La registrazione non è stata eseguita: "
                "correggere i dati segnalati.</p>\n";
    body += "<form method=\"post\" action=\"registrazione.php\" accept-charset=\"UTF-8\">\n";
    body += input({"email", "Indirizzo e-mail", "email", "email",
                   "Sarà il nome utente con cui accedere dal programma."},
                  fields.email, errors.email);
    body += input({"password", "Password", "password", "new-password",
                   "Almeno 4 caratteri, senza spazi, virgolette (&quot;), apici (&#39;) o barre "
                   "rovesciate (\\)."},
                  {}, errors.password);
    body += input({"password2", "Ripetere la password", "password", "new-password", ""}, {},
                  errors.passwordAgain);
    body +=
        input({"nome", "Nome e cognome del tecnico", "text", "name", ""}, fields.name, errors.name);
    body += "<button type=\"submit\">Registrati</button>\n</form>\n";
    return document("Registrazione di un nuovo utente", body);
}

std::string registrationDonePage(const RegistrationFields &fields)
{
    const std::string body =
        "<h1>Registrazione completata</h1>\n<p class=\"fatto\">Registrazione completata per " +
        htmlEscape(fields.name) + " (<strong>" + htmlEscape(fields.email) +
        "</strong>): ora può accedere dal programma con questo indirizzo e questa password.</p>\n";
    return document("Registrazione completata", body);
}

} // namespace tafserver
