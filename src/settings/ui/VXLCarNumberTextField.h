#pragma once

#include <QLineEdit>

// The car number field: when editing ends its text keeps only ASCII letters and digits, at
// most eight of them, which is all the camera's overlay and its 8-byte field can hold.
class VXLCarNumberTextField : public QLineEdit
{
    Q_OBJECT

public:
    static constexpr int kMaxCharacters = 8;

    explicit VXLCarNumberTextField(QWidget* parent = nullptr);

    static bool isAllowedCharacter(QChar c);
    static QString filteredText(const QString& text);
    // Applies the filter now, as the end of editing does.
    void filterText();
};
