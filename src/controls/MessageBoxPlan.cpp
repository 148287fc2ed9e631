#include "controls/MessageBoxPlan.h"

#include <QCoreApplication>

namespace tavix {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ZRMessageBox", text);
}

QList<MessageButtonPlan> buttonsOfSet(unsigned set)
{
    switch (set) {
    case MB_OKCANCEL:
        return {{tr("OK"), IDOK}, {tr("Annulla"), IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{tr("&Interrompi"), IDABORT}, {tr("&Riprova"), IDRETRY}, {tr("I&gnora"), IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{tr("&Si"), IDYES}, {tr("&No"), IDNO}, {tr("&Annulla"), IDCANCEL}};
    case MB_YESNO:
        return {{tr("&Si"), IDYES}, {tr("&No"), IDNO}};
    case MB_RETRYCANCEL:
        return {{tr("&Riprova"), IDRETRY}, {tr("&Annulla"), IDCANCEL}};
    default:
        return {{tr("OK"), IDOK}};
    }
}

MessagePicture pictureOf(unsigned field)
{
    switch (field) {
    case MB_ICONERROR:
        return MessagePicture::Error;
    case MB_ICONQUESTION:
        return MessagePicture::Question;
    case MB_ICONWARNING:
        return MessagePicture::Warning;
    case MB_ICONINFORMATION:
        return MessagePicture::Information;
    default:
        return MessagePicture::None;
    }
}

// 0-based position of the default button; 3 (the fourth) marks none in every set.
int defaultPosition(unsigned field)
{
    switch (field) {
    case MB_DEFBUTTON2:
        return 1;
    case MB_DEFBUTTON3:
        return 2;
    case MB_DEFBUTTON4:
        return 3;
    default:
        return 0;
    }
}

} // namespace

MessageBoxPlan planMessageBox(unsigned flags, int buttonRowWidth)
{
    MessageBoxPlan plan;
    plan.buttons = buttonsOfSet(flags & 0x0F);
    plan.picture = pictureOf(flags & 0xF0);

    const int n = int(plan.buttons.size());
    const int gap = (buttonRowWidth - MessageButtonWidth * n) / (n + 1);
    for (int i = 0; i < n; ++i) {
        plan.buttons[i].left = gap + i * (gap + MessageButtonWidth);
        const int result = plan.buttons[i].result;
        if (plan.escapeIndex < 0 && (result == IDCANCEL || result == IDNO))
            plan.escapeIndex = i;
    }
    const int d = defaultPosition(flags & 0xF00);
    plan.defaultIndex = d < n ? d : -1;
    return plan;
}

} // namespace tavix
