#include "VXLCarNumberTextField.h"

VXLCarNumberTextField::VXLCarNumberTextField(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::editingFinished, this, &VXLCarNumberTextField::filterText);
}

bool VXLCarNumberTextField::isAllowedCharacter(QChar c)
{
    // Only ASCII: accented letters and Hangul are letters too, but not the camera's.
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

QString VXLCarNumberTextField::filteredText(const QString& text)
{
    QString kept;
    for (const QChar c : text) {
        if (kept.size() == kMaxCharacters)
            break;
        if (isAllowedCharacter(c))
            kept.append(c);
    }
    return kept;
}

void VXLCarNumberTextField::filterText()
{
    const QString kept = filteredText(text());
    if (kept != text())
        setText(kept);
}
