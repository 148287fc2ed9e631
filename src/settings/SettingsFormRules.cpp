#include "settings/SettingsFormRules.h"

namespace tavix {

int IndexOfIgnoringCase(const QStringList &items, const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool DiscardedFromRegistrationNumber(int key, const QString &text)
{
    if (key == Qt::Key_Backspace)
        return true;
    if (text.isEmpty())
        return false;
    if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9'))
        return false;
    const char16_t first = text.at(0).unicode();
    const bool controlKey = first < 0x20 || first == 0x7f;
    return !controlKey;
}

QString UpperCaseOneForOne(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        c = c.toUpper();
    return upper;
}

QValidator::State UpperCaseValidator::validate(QString &input, int &) const
{
    input = UpperCaseOneForOne(input);
    return Acceptable;
}

} // namespace tavix
