#include "Lookups.h"

#include "Database.h"
#include "Text.h"

namespace tafserver {
namespace {

constexpr std::size_t kMaxLiteral = 100;
const std::vector<FieldDef> kCodeFields = {{"CodiceFiscale", "string", 5},
                                           {"Regione", "string", 30}};
const std::vector<FieldDef> kNameFields = {{"NomeComune", "string", 60},
                                           {"Provincia", "string", 30}};

void skipBlanks(std::string_view &text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return upper(a) == upper(b);
}

// Runs the lookup named by the condition; yields (name, code, province, region) rows.
Statement &lookup(Database &db, const Condition &condition)
{
    Statement &q = db.prepared(condition.column == Condition::NomeComune
                                   ? "SELECT nome, codice, provincia, regione FROM comuni "
                                     "WHERE nome = ?1 ORDER BY codice"
                                   : "SELECT nome, codice, provincia, regione FROM comuni "
                                     "WHERE codice = ?1");
    q.bind(1, upper(trimmed(condition.value)));
    return q;
}

} // namespace

std::optional<Condition> parseCondition(std::string_view text)
{
    skipBlanks(text);
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view column = trimmed(text.substr(0, eq));
    Condition condition{Condition::NomeComune, {}};
    if (equalsNoCase(column, "NomeComune"))
        condition.column = Condition::NomeComune;
    else if (equalsNoCase(column, "CodiceFiscale"))
        condition.column = Condition::CodiceFiscale;
    else
        return std::nullopt;
    text.remove_prefix(eq + 1);
    skipBlanks(text);
    if (text.empty() || text.front() != '\'')
        return std::nullopt;
    text.remove_prefix(1);
    while (true) {
        if (text.empty())
            return std::nullopt; // unterminated literal
        const char c = text.front();
        text.remove_prefix(1);
        if (c != '\'') {
            condition.value += c;
        } else if (!text.empty() && text.front() == '\'') {
            condition.value += '\'';
            text.remove_prefix(1);
        } else {
            break;
        }
        if (condition.value.size() > kMaxLiteral)
            return std::nullopt;
    }
    skipBlanks(text);
    if (!text.empty())
        return std::nullopt; // something after the literal
    return condition;
}

Answer codicePerNComune(const QueryRequest &request)
{
    const auto condition = parseCondition(request.get("condizione"));
    if (!condition)
        return refused(kCodeFields, "condizione non ammessa");
    PacketWriter packet(kCodeFields);
    Statement &q = lookup(request.db, *condition);
    while (q.step()) {
        packet.beginRow();
        packet.text("CodiceFiscale", q.text(1));
        packet.text("Regione", q.text(3));
        packet.endRow();
    }
    return packetAnswer(packet.finish());
}

Answer nComunePerCodice(const QueryRequest &request)
{
    const auto condition = parseCondition(request.get("condizione"));
    if (!condition)
        return refused(kNameFields, "condizione non ammessa");
    PacketWriter packet(kNameFields);
    Statement &q = lookup(request.db, *condition);
    while (q.step()) {
        packet.beginRow();
        packet.text("NomeComune", q.text(0));
        packet.text("Provincia", q.text(2));
        packet.endRow();
    }
    return packetAnswer(packet.finish());
}

} // namespace tafserver
