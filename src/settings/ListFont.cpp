#include "settings/ListFont.h"

namespace tavix {

QFont ReferenceListFont()
{
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace tavix
