#include "controls/FocusReturn.h"

#include <QWidget>

namespace {
int g_depth = 0;
}

namespace FocusReturn {

void to(QWidget *field)
{
    if (!field)
        return;
    ++g_depth;
    field->setFocus(Qt::OtherFocusReason);
    --g_depth;
}

bool inProgress()
{
    return g_depth > 0;
}

} // namespace FocusReturn
