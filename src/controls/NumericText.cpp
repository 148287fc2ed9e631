#include "controls/NumericText.h"

#include <algorithm>

namespace tavix {

bool charSetHas(const CharSet &set, QChar c)
{
    return c.unicode() < set.size() && set.test(c.unicode());
}

void charSetSet(CharSet &set, QChar c, bool on)
{
    if (c.unicode() < set.size())
        set.set(c.unicode(), on);
}

NumericText::NumericText()
{
    for (char c = 0; c < 32; ++c)
        m_accepted.set(std::size_t(c));
    for (char c = '0'; c <= '9'; ++c)
        m_accepted.set(std::size_t(c));
    configure();
}

void NumericText::configure()
{
    charSetSet(m_accepted, QLatin1Char('+'), m_accettaSegno);
    charSetSet(m_accepted, QLatin1Char('-'), m_accettaSegno);
    charSetSet(m_accepted, m_separatore, m_decimali >= 1);
}

QString NumericText::setAccettaSegno(bool on, const QString &text)
{
    if (on == m_accettaSegno)
        return text;
    m_accettaSegno = on;
    configure();
    QString result = text;
    if (!on) {
        qsizetype at = result.indexOf(QLatin1Char('+'));
        if (at < 0)
            at = result.indexOf(QLatin1Char('-'));
        if (at >= 0)
            result.remove(at, 1);
    }
    return result;
}

void NumericText::setInteri(int n)
{
    m_interi = std::max(n, 0);
}

void NumericText::setDecimali(int n)
{
    n = std::max(n, 0);
    if (n == m_decimali)
        return;
    m_decimali = n;
    configure();
}

void NumericText::setSeparatore(QChar c)
{
    if (c == m_separatore)
        return;
    charSetSet(m_accepted, m_separatore, false);
    m_separatore = c;
    configure();
}

int NumericText::maxLength() const
{
    return m_interi + m_decimali + (m_accettaSegno ? 1 : 0) + (m_decimali >= 1 ? 1 : 0);
}

int NumericText::separatorPos(const QString &text) const
{
    return int(text.indexOf(m_separatore)) + 1;
}

QString NumericText::integerPartOf(const QString &text) const
{
    const int sep = separatorPos(text);
    QString part = sep > 0 ? text.left(sep - 1) : text;
    if (text.contains(QLatin1Char('-')) || text.contains(QLatin1Char('+')))
        part.remove(0, 1);
    return part;
}

QString NumericText::decimalPartOf(const QString &text) const
{
    const int sep = separatorPos(text);
    return sep > 0 ? text.mid(sep) : QString();
}

QString NumericText::signOf(const QString &text) const
{
    if (text.contains(QLatin1Char('-')))
        return QStringLiteral("-");
    if (text.contains(QLatin1Char('+')))
        return QStringLiteral("+");
    return {};
}

bool NumericText::isValidText(const QString &text) const
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!charSetHas(m_accepted, c))
            return false;
        if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && i > 0)
            return false;
    }
    if (text.count(m_separatore) > 1)
        return false;
    if (integerPartOf(text).size() > m_interi)
        return false;
    const QString decimals = decimalPartOf(text);
    if (decimals.size() > m_decimali)
        return false;
    if (m_decimalPrecision != 0) {
        bool isNumber = false;
        const qlonglong value = decimals.toLongLong(&isNumber);
        if (isNumber && value % m_decimalPrecision != 0)
            return false;
    }
    return true;
}

QString NumericText::formatText(const QString &text) const
{
    QString integer = integerPartOf(text);
    const QString decimals = decimalPartOf(text);
    if (integer.isEmpty() && !decimals.isEmpty() && m_interi > 0)
        integer = QStringLiteral("0");
    QString candidate = signOf(text) + integer;
    if (!decimals.isEmpty())
        candidate += m_separatore + decimals;
    return isValidText(candidate) ? candidate : text;
}

QString candidateText(const EditState &state, EditInput input, const QString &inserted)
{
    QString text = state.text;
    const int start = std::clamp(state.selectionStart, 0, int(text.size()));
    const int length = std::clamp(state.selectionLength, 0, int(text.size()) - start);
    if (length > 0) {
        text.remove(start, length);
    } else if (input == EditInput::Backspace && start > 0) {
        text.remove(start - 1, 1);
    } else if (input == EditInput::Delete && start < text.size()) {
        text.remove(start, 1);
    }
    if (input == EditInput::Insert)
        text.insert(start, inserted);
    return text;
}

} // namespace tavix
