#include "controls/SheetRules.h"

#include <QStringList>

namespace tavix::sheet {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isLetter(QChar c)
{
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isLetterOrDigit(QChar c)
{
    return isLetter(c) || isDigit(c);
}

int digitValue(QChar c)
{
    return c.unicode() - '0';
}

// The letter that stands for the first two digits 10..35 of a four-digit sheet.
QChar hundredsLetter(int n)
{
    return QChar(u'A' + (n - 10));
}

QString normaliseSheetOf(const QString &p)
{
    const qsizetype n = p.size();
    const QString zero = QStringLiteral("0");
    if (n == 1) {
        if (isLetter(p[0]))
            return p + QStringLiteral("000");
        if (isDigit(p[0]))
            return QStringLiteral("00") + p + zero;
    } else if (n == 2) {
        if (isLetter(p[0]) && isDigit(p[1]))
            return p.left(1) + zero + p.mid(1) + zero;
        if (isDigit(p[0]) && isDigit(p[1]))
            return zero + p + zero;
        if (isDigit(p[0]) && isLetter(p[1]))
            return QStringLiteral("00") + p;
    } else if (n == 3) {
        if (isLetterOrDigit(p[0]) && isDigit(p[1]) && isDigit(p[2]))
            return p + zero;
        if (isLetter(p[0]) && isDigit(p[1]) && isLetter(p[2]))
            return p.left(1) + zero + p.mid(1);
        if (isDigit(p[0]) && isDigit(p[1]) && isLetter(p[2]))
            return zero + p;
    } else if (n == 4) {
        if (isLetterOrDigit(p[0]) && isDigit(p[1]) && isDigit(p[2]) &&
            (p[3] == QLatin1Char('0') || isLetter(p[3])))
            return p;
        if (isDigit(p[0]) && isDigit(p[1]) && isDigit(p[2]) && isDigit(p[3]) &&
            p[3] != QLatin1Char('0')) {
            const int hundreds = digitValue(p[0]) * 10 + digitValue(p[1]);
            if (hundreds >= 10 && hundreds <= 35)
                return hundredsLetter(hundreds) + p.mid(2) + zero;
        }
    }
    return {};
}

} // namespace

bool NormalisePF(QString &part)
{
    if (part.size() == 1 && isDigit(part[0])) {
        part.prepend(QLatin1Char('0'));
        return true;
    }
    return part.size() == 2 && isDigit(part[0]) && isDigit(part[1]);
}

bool NormaliseSheet(QString &part)
{
    const QString canonical = normaliseSheetOf(part);
    if (canonical.isEmpty())
        return false;
    part = canonical;
    return true;
}

int partCount(const QString &text)
{
    return int(text.count(QLatin1Char('/'))) + 1;
}

bool NormaliseText(QString &text, Sequenza sequenza)
{
    QStringList parts = text.split(QLatin1Char('/'));
    const bool pfFirst = sequenza == Sequenza::oPFFoglio;
    if (parts.size() == 1) {
        QString only = parts[0];
        const bool ok = pfFirst ? NormalisePF(only) : NormaliseSheet(only);
        if (ok)
            text = only;
        return ok;
    }
    if (parts.size() > 3)
        return false;
    QString &sheet = pfFirst ? parts[1] : parts[0];
    QString &pf = pfFirst ? parts[0] : parts[1];
    if (!NormaliseSheet(sheet) || !NormalisePF(pf))
        return false;
    if (parts.size() == 3 && parts[2].isEmpty())
        return false;
    text = parts.join(QLatin1Char('/'));
    return true;
}

bool validateText(QString &text, int parametri, Sequenza sequenza)
{
    return !text.isEmpty() && partCount(text) == parametri && NormaliseText(text, sequenza);
}

KeyCheck CheckKey(const QString &text, bool wholeTextSelected, QChar ch, int parametri,
                  Sequenza sequenza)
{
    KeyCheck check;
    if (wholeTextSelected)
        return check;
    if (ch == QLatin1Char('\r')) {
        check.validateFirst = true;
        return check;
    }
    if (ch == QLatin1Char('/')) {
        if (partCount(text) >= parametri) {
            check.accepted = false;
            return check;
        }
        check.text = text;
        check.normalised = true;
        check.accepted = NormaliseText(check.text, sequenza);
        return check;
    }
    if (partCount(text) == 2)
        check.accepted = text.section(QLatin1Char('/'), 1).size() < 4;
    return check;
}

LeaveDecision LeaveStep(const QString &saved, int parametri, Sequenza sequenza, bool typedByUser)
{
    LeaveDecision decision;
    if (parametri != 1 || sequenza != Sequenza::oFoglioPF || saved.size() != 4)
        return decision;
    if (!(isLetterOrDigit(saved[0]) && isDigit(saved[1]) && isDigit(saved[2]) &&
          isLetterOrDigit(saved[3]))) {
        decision.action = LeaveDecision::SyntaxError;
        return decision;
    }
    if (!typedByUser || saved[3] != QLatin1Char('0'))
        return decision;
    if (!isDigit(saved[0])) {
        decision.action = LeaveDecision::Stay;
        return decision;
    }
    const int hundreds = digitValue(saved[0]) * 10 + digitValue(saved[1]);
    if (hundreds < 10) {
        decision.action = LeaveDecision::Stay;
    } else if (hundreds <= 35) {
        decision.action = LeaveDecision::Replace;
        decision.text = hundredsLetter(hundreds) + saved.mid(2, 2) + QLatin1Char('0');
    }
    return decision;
}

} // namespace tavix::sheet
