#pragma once

#include <QList>
#include <QString>

// What the program's message box shows for a set of Windows message-box flags: which buttons,
// where, which one is default, which one Esc presses, which picture. Pure, so the box itself
// only builds what the plan says.
namespace tavix {

// Windows message-box flag values that callers pass.
enum MessageBoxFlag : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON1 = 0x000,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFBUTTON4 = 0x300,
};

// Windows message-box result codes.
enum MessageBoxResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

enum class MessagePicture { None, Error, Question, Warning, Information };

struct MessageButtonPlan
{
    QString caption; // "&" marks the access key
    int result = IDOK;
    int left = 0;
};

struct MessageBoxPlan
{
    QList<MessageButtonPlan> buttons; // left to right
    int defaultIndex = -1;            // -1: no default button
    int escapeIndex = -1;             // -1: Esc does nothing
    MessagePicture picture = MessagePicture::None;
};

inline constexpr int MessageButtonWidth = 75;

// `buttonRowWidth` is the client width of the row that receives the buttons.
MessageBoxPlan planMessageBox(unsigned flags, int buttonRowWidth);

} // namespace tavix
